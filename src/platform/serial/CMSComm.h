// The serial control over QSerialPort: the properties are kept until the port opens, input is
// delivered as byte arrays on the GUI thread, and Qt's errors become the control's event codes.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <string>
#include <vector>

#include "transfer/SerialControl.h"

namespace tavrin {

class CMSComm : public QObject, public SerialControl {
  Q_OBJECT
 public:
  explicit CMSComm(QObject* parent = nullptr);

  // The device paths behind COM1, COM2, ...
  void SetPortPaths(std::vector<std::string> paths) { paths_ = std::move(paths); }
  const std::vector<std::string>& PortPaths() const { return paths_; }

  void SetDTREnable(bool on) override { dtr_ = on; }
  void SetRTSEnable(bool on) override { rts_ = on; }
  void SetRThreshold(int bytes) override { rThreshold_ = bytes; }
  void SetInBufferSize(int bytes) override;
  void SetInputLen(int) override {}
  void SetInputMode(int) override {}
  void SetSThreshold(int bytes) override { sThreshold_ = bytes; }
  void SetOutBufferSize(int) override {}
  void SetSettings(const std::string& settings) override;
  void SetHandshaking(int mode) override { handshaking_ = mode; }
  void SetCommPort(int port) override { commPort_ = port; }

  bool SetPortOpen(bool open) override;
  PortRefusal OpenError() const override { return openError_; }
  bool PortOpen() const override { return port_.isOpen(); }
  void SetInBufferCount(int count) override;
  void SetOutBufferCount(int count) override;
  Result<> OutputText(const std::string& text) override;
  Result<> OutputBytes(std::span<const uint8_t> bytes) override;
  CommEventCode CommEvent() const override { return event_; }
  std::vector<uint8_t> Input() override;

  // What the settings text asked for; false when it could not be read.
  bool SettingsValid() const { return settingsValid_; }
  qint32 BaudRate() const { return baud_; }

 signals:
  // The control's OnComm: read CommEvent, and Input for a receive event.
  void Comm();

 private:
  void OnReadyRead();
  void OnBytesWritten();
  void OnError(QSerialPort::SerialPortError error);
  void Raise(CommEventCode event);
  Result<> Write(const char* data, qint64 size);

  QSerialPort port_;
  std::vector<std::string> paths_;
  bool dtr_ = false;
  bool rts_ = false;
  int rThreshold_ = 0;
  int sThreshold_ = 0;
  int handshaking_ = 0;
  int commPort_ = 1;
  qint32 baud_ = 19200;
  QSerialPort::Parity parity_ = QSerialPort::NoParity;
  QSerialPort::DataBits dataBits_ = QSerialPort::Data8;
  QSerialPort::StopBits stopBits_ = QSerialPort::OneStop;
  bool settingsValid_ = true;
  PortRefusal openError_;
  QSerialPort::SerialPortError failedOpen_ = QSerialPort::NoError;
  CommEventCode event_ = CommEventCode::None;
  QByteArray input_;
};

}  // namespace tavrin
