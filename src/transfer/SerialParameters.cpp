#include "transfer/SerialParameters.h"

#include <algorithm>
#include <cstdio>

namespace tavrin {

void InitSerialParameters(SerialParameters& serial) {
  serial = SerialParameters{};
  ApplySerialIndexes(serial);
}

void ApplySerialIndexes(SerialParameters& serial) {
  if (serial.portIndex < 0 || serial.portIndex >= kSerialPortCount) serial.portIndex = 0;
  if (serial.speedIndex < 0 || serial.speedIndex >= static_cast<int>(kSerialSpeeds.size())) {
    serial.speedIndex = 0;
  }
  serial.portNumber = serial.portIndex + 1;
  serial.speed = kSerialSpeeds[serial.speedIndex];
  serial.parity = kSerialParities[serial.parityIndex];
  serial.dataBits = kSerialDataBits[serial.dataBitsIndex];
  serial.stopBits = kSerialStopBits[serial.stopBitsIndex];
  char text[32];
  std::snprintf(text, sizeof text, "%d,%c,%d,%s", serial.speed, serial.parity, serial.dataBits,
                serial.stopBits.c_str());
  serial.settingsText = text;
}

SerialParameters SerialParametersAt(int speed) {
  SerialParameters serial;
  const auto found = std::find(kSerialSpeeds.begin(), kSerialSpeeds.end(), speed);
  serial.speedIndex =
      found == kSerialSpeeds.end() ? 0 : static_cast<int>(found - kSerialSpeeds.begin());
  ApplySerialIndexes(serial);
  return serial;
}

}  // namespace tavrin
