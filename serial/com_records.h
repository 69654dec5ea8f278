#pragma once
// The port's settings turned into the records the drivers take: the device control block
// (DCB) and COMMTIMEOUTS of Win32. Pure code, so the translation is checked on every
// platform; the Linux backend builds its termios settings from the same LineSettings.

#include <cstdint>

#include "serial/com_types.h"

namespace zorvan {

// The line framing the port is set to.
struct LineSettings {
  TBaudRate BaudRate = br9600;
  TByteSize ByteSize = bs8;
  TParity Parity = paNone;
  TStopBits StopBits = sb1;
};

// False for a value outside its enumeration (a rate index with no entry in
// BaudRateValues, say): no driver can be given such settings.
bool IsValid(const LineSettings& settings);

// The Win32 DCB, field for field; Flags is the bit-field word (fBinary is bit 0).
struct DcbRecord {
  uint32_t DCBlength;
  uint32_t BaudRate;
  uint32_t Flags;
  uint16_t wReserved;
  uint16_t XonLim;
  uint16_t XoffLim;
  uint8_t ByteSize;
  uint8_t Parity;
  uint8_t StopBits;
  char XonChar;
  char XoffChar;
  char ErrorChar;
  char EofChar;
  char EvtChar;
  uint16_t wReserved1;
};
static_assert(sizeof(DcbRecord) == 28, "the DCB is 28 bytes on every Win32 target");

// Bits of DcbRecord::Flags that this port sets.
inline constexpr uint32_t kDcbBinary = 0x0001;
inline constexpr uint32_t kDcbParity = 0x0002;
inline constexpr uint32_t kDcbDtrControlEnable = 0x0010;
inline constexpr uint32_t kDcbRtsControlEnable = 0x1000;

// Binary mode, no flow control of either kind, parity checked only when a parity is
// chosen, DTR and RTS raised while the port is open. Requires IsValid(settings).
DcbRecord MakeDcb(const LineSettings& settings);

// The five time-outs as the driver takes them, in milliseconds.
struct CommTimeoutsRecord {
  uint32_t ReadIntervalTimeout;
  uint32_t ReadTotalTimeoutMultiplier;
  uint32_t ReadTotalTimeoutConstant;
  uint32_t WriteTotalTimeoutMultiplier;
  uint32_t WriteTotalTimeoutConstant;
};

// MAXDWORD of Win32: "no limit" for the read gap, "return at once" in the right company.
inline constexpr uint32_t kMaxDword = 0xFFFFFFFF;

// A negative time-out becomes kMaxDword; zero and positive values pass unchanged.
constexpr uint32_t TimeoutValue(int32_t value) {
  return value < 0 ? kMaxDword : static_cast<uint32_t>(value);
}

class TComTimeouts;
CommTimeoutsRecord MakeCommTimeouts(const TComTimeouts& timeouts);

}  // namespace zorvan
