// The translations between event kinds, the device's mask bits and notice codes, and from
// the device's error flags to the errors OnError is told of.

#include "serial/com_events.h"

#include <gtest/gtest.h>

namespace zorvan {
namespace {

TEST(ComEvents, EveryKindHasItsOwnMaskBitAndNoticeCode) {
  EXPECT_EQ(EventKindsToMask(kAllEventKinds), 0x5BDu);
  EXPECT_EQ(EventKindsToMask({}), 0u);
  const std::pair<TComEventKind, uint32_t> kCodes[] = {
      {ekRxChar, 1},  {ekTxEmpty, 4},  {ekRing, 256},  {ekCTS, 8},
      {ekDSR, 16},    {ekRLSD, 32},    {ekError, 128}, {ekRx80Full, 1024}};
  for (auto [kind, code] : kCodes) {
    EXPECT_EQ(EventKindsToMask({kind}), code);
    EXPECT_EQ(MaskToEventKinds(code), TComEventKinds{kind});
    EXPECT_EQ(NoticeCode(kind), code);
    EXPECT_EQ(NoticeKind(code), kind);
  }
}

TEST(ComEvents, BitsOfNoKindAreIgnored) {
  EXPECT_EQ(MaskToEventKinds(0xFFFFFFFF), kAllEventKinds);
  EXPECT_TRUE(MaskToEventKinds(0x0002 | 0x0040 | 0x0200 | 0x0800).Empty());
  EXPECT_EQ(MaskToEventKinds(0x0020 | 0x0040), TComEventKinds{ekRLSD});
  for (uint32_t code : {0u, 2u, 64u, 512u, 2048u, 1025u}) EXPECT_EQ(NoticeKind(code), std::nullopt);
}

TEST(ComEvents, ErrorFlagsBecomeErrorsAndParityCountsOnlyWithAParity) {
  const std::pair<uint32_t, TComError> kFlags[] = {
      {0x0008, ceFrame}, {0x0004, ceRxParity}, {0x0002, ceOverrun}, {0x0010, ceBreak},
      {0x0400, ceIO},    {0x8000, ceMode},     {0x0001, ceRxOver},  {0x0100, ceTxFull}};
  for (auto [flag, error] : kFlags) EXPECT_EQ(ErrorFlagsToComErrors(flag, paEven), TComErrors{error});
  EXPECT_EQ(ErrorFlagsToComErrors(0xFFFF, paSpace).Bits(), 0xFF);
  EXPECT_TRUE(ErrorFlagsToComErrors(0x0004, paNone).Empty());
  EXPECT_EQ(ErrorFlagsToComErrors(0x0004 | 0x0008, paNone), TComErrors{ceFrame});
  EXPECT_TRUE(ErrorFlagsToComErrors(0x0020 | 0x0040 | 0x0080 | 0x0200 | 0x7800, paOdd).Empty());
}

}  // namespace
}  // namespace zorvan
