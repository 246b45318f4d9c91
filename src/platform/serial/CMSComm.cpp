#include "platform/serial/CMSComm.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QStringList>
#include <cerrno>
#include <optional>

namespace tavrin {
namespace {

// The group whose members may read and write the device: the way in for a user shut out. None
// when its group has no such right, or is root's, which no user should be put in for a port.
std::string AccessGroup(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || info.st_gid == 0 ||
      (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP)) {
    return {};
  }
  struct group entry {};
  struct group* found = nullptr;
  char buffer[4096];
  if (::getgrgid_r(info.st_gid, &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
    return {};
  }
  return found->gr_name;
}

// Qt reports a device the user may not open, one in use and a lock it could not take alike; the
// device's own permissions and its lock file tell them apart. The effective ids and capabilities
// decide, as for the open itself.
PortRefusal RefusalOf(QSerialPort::SerialPortError error, const std::string& path) {
  if (error != QSerialPort::PermissionError) return {PortOpenError::Other};
  if (::faccessat(AT_FDCWD, path.c_str(), R_OK | W_OK, AT_EACCESS) != 0 && errno == EACCES) {
    return {PortOpenError::PermissionDenied, AccessGroup(path)};
  }
  if (std::optional<PortLock> lock = HeldPortLock(PortLockFolder(), path)) {
    return {PortOpenError::Locked, {}, *lock};
  }
  return {PortOpenError::Other};
}

}  // namespace

CMSComm::CMSComm(QObject* parent) : QObject(parent) {
  connect(&port_, &QSerialPort::readyRead, this, &CMSComm::OnReadyRead);
  connect(&port_, &QSerialPort::bytesWritten, this, &CMSComm::OnBytesWritten);
  connect(&port_, &QSerialPort::errorOccurred, this, &CMSComm::OnError);
}

void CMSComm::SetInBufferSize(int bytes) { port_.setReadBufferSize(bytes); }

void CMSComm::SetSettings(const std::string& settings) {
  const QStringList parts = QString::fromStdString(settings).split(',');
  bool ok = parts.size() == 4;
  const int baud = ok ? parts[0].trimmed().toInt(&ok) : 0;
  ok = ok && baud > 0;
  const QString parity = ok ? parts[1].trimmed().toUpper() : QString();
  const QString data = ok ? parts[2].trimmed() : QString();
  const QString stop = ok ? parts[3].trimmed() : QString();
  ok = ok && (parity == "N" || parity == "E" || parity == "O") && (data == "7" || data == "8") &&
       (stop == "1" || stop == "1.5" || stop == "2");
  settingsValid_ = ok;
  if (!ok) return;
  baud_ = baud;
  parity_ = parity == "E"   ? QSerialPort::EvenParity
            : parity == "O" ? QSerialPort::OddParity
                            : QSerialPort::NoParity;
  dataBits_ = data == "7" ? QSerialPort::Data7 : QSerialPort::Data8;
  stopBits_ = stop == "2"     ? QSerialPort::TwoStop
              : stop == "1.5" ? QSerialPort::OneAndHalfStop
                              : QSerialPort::OneStop;
  if (port_.isOpen()) {
    port_.setBaudRate(baud_);
    port_.setParity(parity_);
    port_.setDataBits(dataBits_);
    port_.setStopBits(stopBits_);
  }
}

bool CMSComm::SetPortOpen(bool open) {
  if (!open) {
    if (port_.isOpen()) port_.close();
    input_.clear();
    return true;
  }
  openError_ = {PortOpenError::Other};
  if (port_.isOpen() || !settingsValid_ || commPort_ < 1 ||
      static_cast<std::size_t>(commPort_) > paths_.size() ||
      paths_[static_cast<std::size_t>(commPort_ - 1)].empty()) {
    return false;
  }
  const std::string& path = paths_[static_cast<std::size_t>(commPort_ - 1)];
  // Qt takes the lock of a program that still runs for stale when it names no application, and
  // would share the line with that program.
  if (std::optional<PortLock> lock = HeldPortLock(PortLockFolder(), path)) {
    openError_ = {PortOpenError::Locked, {}, *lock};
    return false;
  }
  port_.setPortName(QString::fromStdString(path));
  port_.setBaudRate(baud_);
  port_.setParity(parity_);
  port_.setDataBits(dataBits_);
  port_.setStopBits(stopBits_);
  port_.setFlowControl(handshaking_ == 2   ? QSerialPort::HardwareControl
                       : handshaking_ == 1 ? QSerialPort::SoftwareControl
                                           : QSerialPort::NoFlowControl);
  failedOpen_ = QSerialPort::NoError;
  if (!port_.open(QIODevice::ReadWrite)) {
    openError_ = RefusalOf(failedOpen_, path);
    port_.clearError();
    return false;
  }
  openError_ = {};
  // A pseudo-terminal has no modem lines and refuses these; the link works without them.
  port_.setDataTerminalReady(dtr_);
  port_.setRequestToSend(rts_);
  port_.clearError();
  input_.clear();
  return true;
}

void CMSComm::SetInBufferCount(int count) {
  if (count != 0) return;
  input_.clear();
  if (port_.isOpen()) port_.clear(QSerialPort::Input);
}

void CMSComm::SetOutBufferCount(int count) {
  if (count != 0 || !port_.isOpen()) return;
  // Every output is handed to the system at once, so only bytes the system has not taken are
  // still ours to drop; flushing the system's queue would throw away an ACK just sent.
  if (port_.bytesToWrite() > 0) port_.clear(QSerialPort::Output);
}

Result<> CMSComm::Write(const char* data, qint64 size) {
  if (size == 0) return {};
  if (!port_.isOpen()) return Fail("the port is closed");
  if (port_.write(data, size) != size) return Fail(port_.errorString().toStdString());
  port_.flush();
  return {};
}

Result<> CMSComm::OutputText(const std::string& text) {
  return Write(text.data(), static_cast<qint64>(text.size()));
}

Result<> CMSComm::OutputBytes(std::span<const uint8_t> bytes) {
  return Write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

std::vector<uint8_t> CMSComm::Input() {
  std::vector<uint8_t> bytes(input_.begin(), input_.end());
  input_.clear();
  return bytes;
}

void CMSComm::Raise(CommEventCode event) {
  event_ = event;
  emit Comm();
}

void CMSComm::OnReadyRead() {
  input_.append(port_.readAll());
  if (rThreshold_ > 0 && input_.size() >= rThreshold_) Raise(CommEventCode::Receive);
}

void CMSComm::OnBytesWritten() {
  if (sThreshold_ > 0 && port_.bytesToWrite() == 0) Raise(CommEventCode::Send);
}

void CMSComm::OnError(QSerialPort::SerialPortError error) {
  // Reported from inside open(), whose caller asks why once it returns; clearing the error
  // reports NoError, which must not wipe it.
  if (!port_.isOpen() && error != QSerialPort::NoError) failedOpen_ = error;
  CommEventCode event = CommEventCode::None;
  switch (error) {
    case QSerialPort::WriteError:
      event = CommEventCode::TxFull;
      break;
    case QSerialPort::ReadError:
      event = CommEventCode::Frame;
      break;
    case QSerialPort::ResourceError:
      event = CommEventCode::CdTimeout;
      break;
    case QSerialPort::TimeoutError:
      event = CommEventCode::CtsTimeout;
      break;
    default:
      break;  // open failures are SetPortOpen's answer; a pty's modem lines don't matter
  }
  // Qt repeats a read error without end while a vanished device stays open.
  if ((error == QSerialPort::ReadError || error == QSerialPort::ResourceError) && port_.isOpen()) {
    port_.close();
  }
  if (error != QSerialPort::NoError) port_.clearError();
  if (event != CommEventCode::None) Raise(event);
}

}  // namespace tavrin
