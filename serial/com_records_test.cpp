#include "serial/com_records.h"

#include <gtest/gtest.h>

#include "serial/com_timeouts.h"
#include "serial/transfer_limits.h"

namespace zorvan {
namespace {

TEST(MakeDcb, FlagWordAndCodesFollowTheFraming) {
  const DcbRecord plain = MakeDcb({br115200, bs8, paNone, sb1});
  EXPECT_EQ(plain.DCBlength, 28u);
  EXPECT_EQ(plain.BaudRate, 115200u);
  EXPECT_EQ(plain.Flags, 0x1011u);
  EXPECT_EQ(plain.ByteSize, 8);
  EXPECT_EQ(plain.Parity, 0);
  EXPECT_EQ(plain.StopBits, 0);
  EXPECT_EQ(plain.XonChar, 0x11);
  EXPECT_EQ(plain.XoffChar, 0x13);
  EXPECT_EQ(plain.XonLim, 0);
  EXPECT_EQ(plain.XoffLim, 0);
  EXPECT_EQ(plain.ErrorChar, 0);
  EXPECT_EQ(plain.EofChar, 0);
  EXPECT_EQ(plain.EvtChar, 0);

  const DcbRecord even = MakeDcb({br9600, bs7, paEven, sb1_5});
  EXPECT_EQ(even.Flags, 0x1013u);
  EXPECT_EQ(even.Parity, 2);
  EXPECT_EQ(even.ByteSize, 7);
  EXPECT_EQ(even.StopBits, 1);

  const DcbRecord space = MakeDcb({br110, bs5, paSpace, sb2});
  EXPECT_EQ(space.Flags, 0x1013u);
  EXPECT_EQ(space.Parity, 4);
  EXPECT_EQ(space.ByteSize, 5);
  EXPECT_EQ(space.StopBits, 2);
}

TEST(MakeDcb, EveryRateComesFromTheTable) {
  const uint32_t expected[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                               19200, 38400, 56000, 57600, 115200, 128000, 256000};
  for (int i = 0; i <= br256000; ++i) {
    EXPECT_EQ(MakeDcb({static_cast<TBaudRate>(i), bs8, paNone, sb1}).BaudRate, expected[i]) << i;
  }
}

TEST(IsValid, RefusesOrdinalsOutsideTheirEnumerations) {
  EXPECT_TRUE(IsValid({br256000, bs8, paSpace, sb2}));
  EXPECT_FALSE(IsValid({static_cast<TBaudRate>(15), bs8, paNone, sb1}));
  EXPECT_FALSE(IsValid({br9600, static_cast<TByteSize>(4), paNone, sb1}));
  EXPECT_FALSE(IsValid({br9600, bs8, static_cast<TParity>(5), sb1}));
  EXPECT_FALSE(IsValid({br9600, bs8, paNone, static_cast<TStopBits>(3)}));
}

TEST(MakeCommTimeouts, NegativeValuesBecomeMaxdwordInTheFieldOrder) {
  TComTimeouts t;
  t.SetReadInterval(-5);
  t.SetReadTotalMultiplier(0);
  t.SetReadTotalConstant(7);
  t.SetWriteTotalMultiplier(-1);
  t.SetWriteTotalConstant(2147483647);
  const CommTimeoutsRecord r = MakeCommTimeouts(t);
  EXPECT_EQ(r.ReadIntervalTimeout, 0xFFFFFFFFu);
  EXPECT_EQ(r.ReadTotalTimeoutMultiplier, 0u);
  EXPECT_EQ(r.ReadTotalTimeoutConstant, 7u);
  EXPECT_EQ(r.WriteTotalTimeoutMultiplier, 0xFFFFFFFFu);
  EXPECT_EQ(r.WriteTotalTimeoutConstant, 2147483647u);
}

TEST(ReadLimitsFor, MaxdwordIntervalWithoutTotalsReturnsAtOnce) {
  const ReadLimits limits = ReadLimitsFor({kMaxDword, 0, 0, 0, 0}, 20);
  EXPECT_TRUE(limits.ReturnAtOnce);
  // With a total limit the same interval is an ordinary, very long, gap limit.
  const ReadLimits with_total = ReadLimitsFor({kMaxDword, 0, 50, 0, 0}, 20);
  EXPECT_FALSE(with_total.ReturnAtOnce);
  EXPECT_EQ(with_total.TotalMs, 50u);
  EXPECT_EQ(with_total.IntervalMs, kMaxDword);
}

TEST(ReadLimitsFor, TotalIsMultiplierTimesCountPlusConstant) {
  const ReadLimits window = ReadLimitsFor({1, 1, 1, 1, 1}, 20);
  EXPECT_FALSE(window.ReturnAtOnce);
  EXPECT_EQ(window.TotalMs, 21u);
  EXPECT_EQ(window.IntervalMs, 1u);
  // Zero totals mean no total limit; a zero interval means no gap limit.
  const ReadLimits none = ReadLimitsFor({0, 0, 0, 0, 0}, 20);
  EXPECT_FALSE(none.ReturnAtOnce);
  EXPECT_FALSE(none.TotalMs.has_value());
  EXPECT_FALSE(none.IntervalMs.has_value());
  // Large values do not wrap round to a short limit.
  EXPECT_EQ(ReadLimitsFor({0, kMaxDword, kMaxDword, 0, 0}, 1000).TotalMs,
            uint64_t{kMaxDword} * 1000 + kMaxDword);
}

TEST(WriteLimitFor, BothZeroMeanNoLimit) {
  EXPECT_FALSE(WriteLimitFor({0, 0, 0, 0, 0}, 100).has_value());
  EXPECT_EQ(WriteLimitFor({0, 0, 0, 100, 1000}, 10), 2000u);
  EXPECT_EQ(WriteLimitFor({0, 0, 0, 1, 1}, 140), 141u);
  EXPECT_EQ(WriteLimitFor({0, 0, 0, 0, 5}, 140), 5u);
}

}  // namespace
}  // namespace zorvan
