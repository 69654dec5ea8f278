#include "serial/termios_settings_posix.h"

#include <gtest/gtest.h>

namespace zorvan {
namespace {

termios2 Filled(const LineSettings& settings) {
  termios2 t{};
  // What a terminal starts with: line editing, echo, signals, output processing.
  t.c_iflag = ICRNL | IXON | BRKINT;
  t.c_oflag = OPOST | ONLCR;
  t.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
  t.c_cflag = B9600 | CS7 | PARENB | CRTSCTS;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 5;
  FillTermios2(t, settings);
  return t;
}

TEST(FillTermios2, RawEightNoneOneWithoutFlowControl) {
  const termios2 t = Filled({br115200, bs8, paNone, sb1});
  EXPECT_EQ(t.c_iflag, tcflag_t{IGNBRK});
  EXPECT_EQ(t.c_oflag, 0u);
  EXPECT_EQ(t.c_lflag, 0u);
  EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t{CS8});
  EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
  EXPECT_EQ(t.c_cc[VMIN], 1);
  EXPECT_EQ(t.c_cc[VTIME], 0);
  EXPECT_EQ(t.c_cc[VSTART], 0x11);
  EXPECT_EQ(t.c_cc[VSTOP], 0x13);
}

TEST(FillTermios2, DataBitsParityAndStopBits) {
  EXPECT_EQ(Filled({br9600, bs5, paNone, sb1}).c_cflag & CSIZE, tcflag_t{CS5});
  EXPECT_EQ(Filled({br9600, bs6, paNone, sb1}).c_cflag & CSIZE, tcflag_t{CS6});
  EXPECT_EQ(Filled({br9600, bs7, paNone, sb1}).c_cflag & CSIZE, tcflag_t{CS7});
  const tcflag_t parity_bits = PARENB | PARODD | CMSPAR;
  EXPECT_EQ(Filled({br9600, bs8, paOdd, sb1}).c_cflag & parity_bits, tcflag_t{PARENB | PARODD});
  EXPECT_EQ(Filled({br9600, bs8, paEven, sb1}).c_cflag & parity_bits, tcflag_t{PARENB});
  EXPECT_EQ(Filled({br9600, bs8, paMark, sb1}).c_cflag & parity_bits, parity_bits);
  EXPECT_EQ(Filled({br9600, bs8, paSpace, sb1}).c_cflag & parity_bits, tcflag_t{PARENB | CMSPAR});
  EXPECT_EQ(Filled({br9600, bs5, paNone, sb1_5}).c_cflag & CSTOPB, tcflag_t{CSTOPB});
  EXPECT_EQ(Filled({br9600, bs8, paNone, sb2}).c_cflag & CSTOPB, tcflag_t{CSTOPB});
}

TEST(FillTermios2, EveryRateIsSetInBitsPerSecond) {
  for (int i = 0; i <= br256000; ++i) {
    const termios2 t = Filled({static_cast<TBaudRate>(i), bs8, paNone, sb1});
    EXPECT_EQ(t.c_cflag & CBAUD, tcflag_t{BOTHER}) << i;
    EXPECT_EQ((t.c_cflag >> IBSHIFT) & CBAUD, tcflag_t{BOTHER}) << i;
    EXPECT_EQ(t.c_ospeed, BaudRateValues[i]);
    EXPECT_EQ(t.c_ispeed, BaudRateValues[i]);
  }
}

TEST(RateAccepted, AllowsTheToleranceOfAUartOnly) {
  termios2 t{};
  t.c_ospeed = 255319;  // an adapter's nearest divisor to 256000
  EXPECT_TRUE(RateAccepted(t, 256000));
  t.c_ospeed = 115200;  // a UART that cannot go faster
  EXPECT_FALSE(RateAccepted(t, 256000));
  t.c_ospeed = 14400;
  EXPECT_TRUE(RateAccepted(t, 14400));
}

}  // namespace
}  // namespace zorvan
