#include "platform/serial/SystemPorts.h"

#include <QSerialPortInfo>
#include <cstdlib>

#include "transfer/PortOrder.h"

namespace tavrin {

std::vector<std::string> SystemPortPaths() {
  if (const char* list = std::getenv("TAVRIN_PORTS")) return SplitPortList(list);
  std::vector<PortCandidate> candidates;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const QString name = info.portName();
    const bool usb =
        info.hasVendorIdentifier() || name.startsWith("ttyUSB") || name.startsWith("ttyACM");
    candidates.push_back({info.systemLocation().toStdString(), usb});
  }
  return OrderPorts(std::move(candidates));
}

}  // namespace tavrin
