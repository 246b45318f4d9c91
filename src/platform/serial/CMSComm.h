// The serial control over QSerialPort: the Windows control's properties, kept until the port
// opens, input delivered as byte arrays on the GUI thread, and Qt's errors as the control's event
// codes. The cable link sees only its narrow side, SerialTransport, which sets the properties as
// the link always did.
#pragma once

#include <QObject>
#include <QSerialPort>
#include <string>
#include <vector>

#include "transfer/SerialTransport.h"

namespace tavrin {

class CMSComm : public QObject, public SerialTransport {
  Q_OBJECT
 public:
  explicit CMSComm(QObject* parent = nullptr);

  // The device paths behind COM1, COM2, ...
  void SetPortPaths(std::vector<std::string> paths) { paths_ = std::move(paths); }
  const std::vector<std::string>& PortPaths() const { return paths_; }

  // The control's properties. Input length, input mode and output buffer size are accepted and
  // mean nothing: input is always every byte that arrived, as a byte array.
  void SetDTREnable(bool on) { dtr_ = on; }
  void SetRTSEnable(bool on) { rts_ = on; }
  void SetRThreshold(int bytes) { rThreshold_ = bytes; }
  void SetInBufferSize(int bytes);
  void SetSThreshold(int bytes) { sThreshold_ = bytes; }
  void SetSettings(const std::string& settings);  // "19200,N,8,1"
  void SetHandshaking(int mode) { handshaking_ = mode; }
  void SetCommPort(int port) { commPort_ = port; }  // 1..16

  // False when the port cannot be opened (the control's dispatch error); OpenError says why.
  bool SetPortOpen(bool open);
  bool PortOpen() const { return port_.isOpen(); }
  void SetInBufferCount(int count);   // 0 empties the input buffer
  void SetOutBufferCount(int count);  // 0 empties the output buffer
  Result<> OutputBytes(std::span<const uint8_t> bytes);
  // The bytes received so far.
  std::vector<uint8_t> Input();

  // The cable link's side.
  void Configure(const SerialParameters& parameters) override;
  void SetLineSignals(bool dtr, bool rts) override;
  bool Open(int port) override;
  PortRefusal OpenError() const override { return openError_; }
  void Close() override { SetPortOpen(false); }
  bool IsOpen() const override { return PortOpen(); }
  std::vector<uint8_t> Read() override { return Input(); }
  Result<> Write(std::span<const uint8_t> bytes) override { return OutputBytes(bytes); }
  void Purge(PurgeDirection direction) override;
  CommEventCode Event() const override { return event_; }

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
