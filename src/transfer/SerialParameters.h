// The serial parameters given to the serial control, and the indexes they come from: the port
// and speed the user chose (kept between runs as PORTNO and BAUDRATE) and the fixed rest.
#pragma once

#include <array>
#include <string>

namespace tavrin {

struct SerialParameters {
  int portIndex = 0;   // PORTNO, 0..15 = COM1..COM16
  int speedIndex = 1;  // BAUDRATE, 0..2
  int parityIndex = 0;
  int dataBitsIndex = 1;
  int stopBitsIndex = 0;

  int portNumber = 1;
  int speed = 19200;
  char parity = 'N';
  int dataBits = 8;
  std::string stopBits = "1";
  std::string settingsText = "19200,N,8,1";  // "%d,%C,%d,%s"
};

inline constexpr std::array<int, 3> kSerialSpeeds = {9600, 19200, 38400};
inline constexpr std::array<char, 3> kSerialParities = {'N', 'E', 'O'};
inline constexpr std::array<int, 2> kSerialDataBits = {7, 8};
inline constexpr std::array<const char*, 3> kSerialStopBits = {"1", "1.5", "2"};
inline constexpr int kSerialPortCount = 16;

void InitSerialParameters(SerialParameters& serial);
// Recomputes the values from the indexes; an index out of its table becomes 0.
void ApplySerialIndexes(SerialParameters& serial);
// The defaults at `speed` (one of kSerialSpeeds; any other gives the first).
SerialParameters SerialParametersAt(int speed);

}  // namespace tavrin
