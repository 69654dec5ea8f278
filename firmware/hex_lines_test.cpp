#include "firmware/hex_lines.h"

#include <gtest/gtest.h>

#include "common/errors.h"
#include "tests/support/recording_surface.h"

namespace zorvan {
namespace {

using testing::RecordingSurface;

TEST(HexPairSum, SumsPairsAndKeepsTheLowByte) {
  EXPECT_EQ(HexPairSum(""), "00");
  EXPECT_EQ(HexPairSum("FF01"), "00");
  EXPECT_EQ(HexPairSum("FFFF"), "FE");
  EXPECT_EQ(HexPairSum("G1"), "00");
  EXPECT_EQ(HexPairSum("020000040000"), "06");
  EXPECT_EQ(HexPairSum("050143EF"), "38");
  EXPECT_EQ(HexPairSum("ff"), "FF");
}

// Runs the line checks on `text` as PrepareImage would: gauge set to the last line index.
bool Check(RecordingSurface& surface, const std::string& text) {
  HexText hex(text);
  surface.SetGaugeMax(static_cast<int64_t>(hex.LineCount()) - 1);
  surface.SetGaugeProgress(0);
  surface.acts.clear();
  return CheckHexLines(surface, hex);
}

TEST(CheckHexLines, PassesGoodRecordsAndStepsTheGaugeForEveryLine) {
  RecordingSurface s;
  EXPECT_TRUE(Check(s, ":020000040000FA\n\nnot a record\n :00000001FF\n:0000000000\n:00000001FF"));
  EXPECT_EQ(s.ActsStartingWith("gauge"),
            (std::vector<std::string>{"gauge 1", "gauge 2", "gauge 3", "gauge 4", "gauge 5", "gauge 5"}));
  EXPECT_TRUE(s.messages.empty());
  EXPECT_TRUE(s.beeps.empty());
}

TEST(CheckHexLines, OddDigitsFailWithTheParityMessageNamingTheLine) {
  RecordingSurface s;
  EXPECT_FALSE(Check(s, "\n:020000040000FA\n:00000001F\n:garbage"));
  EXPECT_EQ(s.messages, std::vector<std::string>{
                            "Порушення парності у строці мікропрограми: 3! (:00000001F)"});
  EXPECT_EQ(s.beeps, std::vector<unsigned>{MB_ICONHAND});
  EXPECT_EQ(s.acts.back(), "gauge 0");
}

TEST(CheckHexLines, ChecksumMismatchMessage) {
  RecordingSurface s;
  EXPECT_FALSE(Check(s, ":020000040000FA\r:020000040000FB"));
  EXPECT_EQ(s.messages, std::vector<std::string>{
                            "Помилка контрольної суми у строці мікропрограми: 2! (:020000040000FB)"});
  EXPECT_EQ(s.beeps, std::vector<unsigned>{MB_ICONHAND});
}

TEST(CheckHexLines, AChecksumThatIsNotHexadecimalRaisesTheConversionError) {
  for (auto [text, message] : {std::pair{":020000040000FA  ", "'$  ' is not a valid integer value"},
                               std::pair{":", "'$' is not a valid integer value"},
                               std::pair{":00000001XY", "'$XY' is not a valid integer value"}}) {
    RecordingSurface s;
    try {
      Check(s, text);
      ADD_FAILURE() << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), message);
    }
    EXPECT_TRUE(s.beeps.empty());
  }
}

TEST(CheckHexLines, AOneBlankTailIsAParityFault) {
  RecordingSurface s;
  EXPECT_FALSE(Check(s, ":00000001FF "));
  EXPECT_EQ(s.messages.at(0), "Порушення парності у строці мікропрограми: 1! (:00000001FF )");
}

TEST(CheckHexLines, BodyDigitsThatAreNotHexCountZero) {
  RecordingSurface s;
  // "GG" counts 0, so the sum is that of 01 and the checksum FF matches.
  EXPECT_TRUE(Check(s, ":01GGFF"));
}

}  // namespace
}  // namespace zorvan
