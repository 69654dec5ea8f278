#include "serial/termios_settings_posix.h"

namespace zorvan {

namespace {

constexpr tcflag_t kCharacterSize[] = {CS5, CS6, CS7, CS8};

tcflag_t ParityFlags(TParity parity) {
  switch (parity) {
    case paOdd: return PARENB | PARODD;
    case paEven: return PARENB;
    case paMark: return PARENB | PARODD | CMSPAR;
    case paSpace: return PARENB | CMSPAR;
    case paNone: break;
  }
  return 0;
}

}  // namespace

void FillTermios2(termios2& t, const LineSettings& s) {
  // A break is a line condition, not a byte: without IGNBRK it would arrive as a NUL.
  // INPCK stays off: a byte with a parity error is delivered as it came, as the Win32
  // driver delivers it, instead of being replaced by a NUL.
  t.c_iflag = IGNBRK;
  t.c_oflag = 0;
  t.c_lflag = 0;
  // With two stop bits asked for, a UART sends one and a half when the characters have
  // five data bits, so CSTOPB stands for both sb1_5 and sb2. HUPCL drops DTR and RTS when
  // the device is released, as the Win32 driver does on closing.
  t.c_cflag = CREAD | CLOCAL | HUPCL | kCharacterSize[s.ByteSize] | ParityFlags(s.Parity) |
              (s.StopBits == sb1 ? 0 : CSTOPB) | BOTHER | (BOTHER << IBSHIFT);
  t.c_ispeed = BaudRateValues[s.BaudRate];
  t.c_ospeed = BaudRateValues[s.BaudRate];
  // One byte satisfies a read, so that a non-blocking read with nothing queued reports
  // EAGAIN; with VMIN 0 it would return 0, which means a hung-up device.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
  t.c_cc[VSTART] = 0x11;  // DC1
  t.c_cc[VSTOP] = 0x13;   // DC3
}

bool RateAccepted(const termios2& reported, uint32_t requested_rate) {
  const uint64_t actual = reported.c_ospeed;
  const uint64_t requested = requested_rate;
  const uint64_t difference = actual > requested ? actual - requested : requested - actual;
  return difference * 100 <= requested * 3;
}

}  // namespace zorvan
