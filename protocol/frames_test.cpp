#include "protocol/frames.h"

#include <gtest/gtest.h>

namespace zorvan {
namespace {

TEST(FrameCommand, AddsThePlainLowByteSumOfThePayload) {
  EXPECT_EQ(FrameCommand("01"), "w0101;");
  EXPECT_EQ(FrameCommand("06"), "w0606;");
  EXPECT_EQ(FrameCommand("04000000"), "w0400000004;");
  EXPECT_EQ(FrameCommand("04000400"), "w0400040008;");
  EXPECT_EQ(FrameCommand("0401FC00"), "w0401FC0001;");
  EXPECT_EQ(FrameCommand("050143EF"), "w050143EF38;");
  EXPECT_EQ(FrameCommand("0502FFFF"), "w0502FFFF05;");
}

TEST(IsAck, LooksOnlyAtThePrefixAndTheFinalSemicolon) {
  EXPECT_TRUE(IsAck("w84;", "04"));
  EXPECT_TRUE(IsAck("w84xyz;", "04"));
  EXPECT_TRUE(IsAck("w8484;", "04"));
  EXPECT_TRUE(IsAck("w8585;", "05"));
  EXPECT_TRUE(IsAck("w86;w86;", "06"));
  EXPECT_FALSE(IsAck("w84", "04"));
  EXPECT_FALSE(IsAck("xw84;", "04"));
  EXPECT_FALSE(IsAck("", "04"));
  EXPECT_FALSE(IsAck(";", "04"));
  EXPECT_FALSE(IsAck("w8;", "04"));
  EXPECT_FALSE(IsAck("w85;", "04"));
  EXPECT_FALSE(IsAck("W84;", "04"));
}

}  // namespace
}  // namespace zorvan
