#pragma once
// The serial port's enumerations and rate table. Their ordinal order is fixed: the rate
// box's item index, the platform codes and stored values all rely on it.

#include <array>
#include <cstdint>

namespace zorvan {

enum TBaudRate : uint8_t {
  br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
  br56000, br57600, br115200, br128000, br256000
};
inline constexpr std::array<uint32_t, 15> BaudRateValues = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000};

enum TByteSize : uint8_t { bs5, bs6, bs7, bs8 };               // data bits = ordinal + 5
enum TParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };  // the platform's parity code
enum TStopBits : uint8_t { sb1, sb1_5, sb2 };                  // the platform's stop-bit code
enum TSyncMethod : uint8_t { smThreadSync, smWindowSync, smNone };

}  // namespace zorvan
