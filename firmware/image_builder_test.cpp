#include "firmware/image_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "common/errors.h"
#include "firmware/hex_lines.h"
#include "tests/support/host_tools.h"
#include "tests/support/recording_surface.h"

namespace zorvan {
namespace {

using testing::HostToolUnavailable;
using testing::RecordingSurface;

constexpr const char* kEof = ":00000001FF";

// A data record for `bytes` (hex digits) at `address`, with its checksum.
std::string Data(unsigned address, const std::string& digits) {
  char head[16];
  std::snprintf(head, sizeof head, "%02X%04X00", static_cast<unsigned>(digits.size() / 2), address);
  const std::string payload = head + digits;
  const uint8_t sum = static_cast<uint8_t>(256 - HexPairSumByte(payload));
  char tail[4];
  std::snprintf(tail, sizeof tail, "%02X", sum);
  return ":" + payload + tail;
}

std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

struct Prepared {
  RecordingSurface surface;
  ImageState image;
  bool ok = false;
};

std::unique_ptr<Prepared> Prepare(const std::string& text, ImageState image = {}) {
  auto p = std::make_unique<Prepared>();
  p->surface.record_gauge_steps = false;
  p->image = std::move(image);
  HexText hex(text);
  p->ok = PrepareImage(p->surface, hex, p->image);
  return p;
}

std::string Digits(const ImageState& image, size_t address, size_t bytes) {
  return image.ImageText.substr(2 * address, 2 * bytes);
}

TEST(PrepareImage, AnEndOfFileAloneGivesAnImageOfErasedFlash) {
  auto p = Prepare(kEof);
  ASSERT_TRUE(p->ok);
  EXPECT_EQ(p->image.ImageText.size(), 40'000'000u);
  EXPECT_EQ(p->image.ImageText.find_first_not_of('F'), std::string::npos);
  EXPECT_TRUE(p->image.ImageComplete);
  EXPECT_TRUE(p->image.WrittenRanges.empty());
}

TEST(PrepareImage, PlacesDataAtItsAddressAndReportsWhatIsWritten) {
  auto p = Prepare(Lines({":0400000043EF01F0D9", kEof}));
  ASSERT_TRUE(p->ok);
  EXPECT_EQ(p->image.ImageText.substr(0, 12), "43EF01F0FFFF");
  EXPECT_EQ(p->image.ImageText.find_first_not_of('F', 8), std::string::npos);
  EXPECT_EQ(p->image.WrittenRanges, (std::vector<ByteRange>{{0, 4}}));
}

TEST(PrepareImage, GoesThroughItsGaugePhasesAndEndsReadyToWrite) {
  auto p = Prepare(Lines({":020000040000FA", Data(0, "0102"), "", kEof}));
  ASSERT_TRUE(p->ok);
  EXPECT_EQ(p->surface.acts,
            (std::vector<std::string>{"gauge.max 3", "gauge 0",                // line checks
                                      "gauge.max 60000", "gauge 0",            // fill
                                      "gauge.max 3", "gauge 0",                // records
                                      "front", "gauge 0", "enable ButtonWrite", "beep 64"}));
}

TEST(PrepareImage, TheGaugeStandsFullAfterTheFillAndCountsOnlyRecordLines) {
  RecordingSurface s;
  HexText hex(Lines({"comment", ":020000040000FA", Data(0, "AA"), ":00000003FD", kEof, Data(8, "BB")}));
  ImageState image;
  ASSERT_TRUE(PrepareImage(s, hex, image));
  auto gauge = s.ActsStartingWith("gauge");
  // Line checks: six steps to a maximum of 5; the fill ends full at 60000.
  auto fill_max = std::find(gauge.begin(), gauge.end(), "gauge.max 60000");
  ASSERT_NE(fill_max, gauge.end());
  EXPECT_EQ(*(fill_max - 1), "gauge 5");
  auto place_max = std::find(fill_max + 1, gauge.end(), "gauge.max 5");
  ASSERT_NE(place_max, gauge.end());
  EXPECT_EQ(*(place_max - 1), "gauge 60000");
  // Records: the segment, the data and the type 3 record step; the comment and the end
  // of file do not; the record after the end of file is never reached.
  EXPECT_EQ(std::vector<std::string>(place_max + 1, gauge.end()),
            (std::vector<std::string>{"gauge 0", "gauge 1", "gauge 2", "gauge 3", "gauge 0"}));
  EXPECT_EQ(Digits(image, 8, 1), "FF");
}

TEST(PrepareImage, SegmentAndLinearAddressesReachTheSamePlace) {
  auto linear = Prepare(Lines({":020000040001F9", Data(0x10, "5A"), kEof}));
  auto segment = Prepare(Lines({":020000021000EC", Data(0x10, "5A"), kEof}));
  ASSERT_TRUE(linear->ok);
  ASSERT_TRUE(segment->ok);
  EXPECT_EQ(linear->image.ImageText.find('5'), 131104u);
  EXPECT_EQ(segment->image.ImageText.find('5'), 131104u);
}

TEST(PrepareImage, ALaterRecordOverwritesAnEarlierOneAndAddressesNeedNotRise) {
  auto p = Prepare(Lines({Data(0x20, "11223344"), Data(0x10, "AB"), Data(0x21, "EEDD"), kEof}));
  ASSERT_TRUE(p->ok);
  EXPECT_EQ(Digits(p->image, 0x20, 4), "11EEDD44");
  EXPECT_EQ(Digits(p->image, 0x10, 1), "AB");
  EXPECT_EQ(p->image.WrittenRanges, (std::vector<ByteRange>{{0x10, 0x11}, {0x20, 0x24}}));
}

TEST(PrepareImage, TextWithoutAnEndOfFileRecordIsAccepted) {
  auto p = Prepare(Data(0, "01"));
  EXPECT_TRUE(p->ok);
  EXPECT_EQ(Digits(p->image, 0, 1), "01");
}

TEST(PrepareImage, LowerCaseTextIsUpperCasedFirst) {
  RecordingSurface s;
  HexText hex(":0400000043ef01f0d9\n:00000001ff\n");
  ImageState image;
  ASSERT_TRUE(PrepareImage(s, hex, image));
  EXPECT_EQ(hex.Text(), ":0400000043EF01F0D9\n:00000001FF\n");
  EXPECT_EQ(Digits(image, 0, 4), "43EF01F0");
}

TEST(PrepareImage, AStartLinearAddressRecordFailsAndKeepsTheEarlierImage) {
  auto first = Prepare(Lines({Data(0, "77"), kEof}));
  ASSERT_TRUE(first->ok);
  auto p = Prepare(Lines({Data(0, "11"), Data(1, "22"), ":04000005000000CD2A", kEof}),
                   std::move(first->image));
  EXPECT_FALSE(p->ok);
  EXPECT_EQ(p->surface.messages, std::vector<std::string>{
      "Знайдено: Start Linear Address Records (MDK-ARM only): 3! (:04000005000000CD2A)"});
  EXPECT_EQ(p->surface.beeps, std::vector<unsigned>{MB_ICONHAND});
  EXPECT_EQ(p->surface.acts.back(), "gauge 0");
  // The half-placed image of the failed text never replaces the complete one.
  EXPECT_TRUE(p->image.ImageComplete);
  EXPECT_EQ(Digits(p->image, 0, 2), "77FF");
}

TEST(PrepareImage, AFailedLineCheckKeepsTheEarlierImage) {
  auto first = Prepare(Lines({Data(0, "77"), kEof}));
  auto p = Prepare(Lines({Data(0, "11"), ":0100000011EF"}), std::move(first->image));
  EXPECT_FALSE(p->ok);
  EXPECT_TRUE(p->image.ImageComplete);
  EXPECT_EQ(Digits(p->image, 0, 1), "77");
  EXPECT_EQ(p->surface.ActsStartingWith("enable").size(), 0u);
}

TEST(PrepareImage, AStartupFailureLeavesNoImageToWrite) {
  auto p = Prepare(Lines({Data(0, "11"), ":04000005000000CD2A"}));
  EXPECT_FALSE(p->ok);
  EXPECT_FALSE(p->image.ImageComplete);
  EXPECT_TRUE(p->image.ImageText.empty());
}

TEST(PrepareImage, RecordsThatDoNotFitTheImageAreRefused) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::string beyond = ":020000040132C7";      // byte 0x1320000, past the image
  const std::string top = ":02000004FFFFFC";         // would wrap a 32-bit sum
  const std::string edge = ":020000040131C8";        // 0x1310000: a record may end at 20,000,000
  const std::vector<Case> cases = {
      {Lines({beyond, Data(0, "01"), kEof}),
       "Запис поза межами пам'яті приладу у строці мікропрограми: 2! (" + Data(0, "01") + ")"},
      {Lines({top, Data(0xFFFE, "0102"), kEof}),
       "Запис поза межами пам'яті приладу у строці мікропрограми: 2! (" + Data(0xFFFE, "0102") + ")"},
      {Lines({edge, Data(0x2CFF, "0102"), kEof}),
       "Запис поза межами пам'яті приладу у строці мікропрограми: 2! (" + Data(0x2CFF, "0102") + ")"},
      {Lines({":0000", kEof}), "Неповний запис у строці мікропрограми: 1! (:0000)"},
      // Count 4, but only two data digits before the checksum.
      {Lines({":040000000AF2", kEof}), "Неповний запис у строці мікропрограми: 1! (:040000000AF2)"},
  };
  for (const Case& c : cases) {
    auto p = Prepare(c.text);
    EXPECT_FALSE(p->ok) << c.text;
    EXPECT_EQ(p->surface.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(p->surface.beeps, std::vector<unsigned>{MB_ICONHAND});
    EXPECT_FALSE(p->image.ImageComplete);
  }
  auto last_byte = Prepare(Lines({edge, Data(0x2CFF, "AB"), kEof}));
  ASSERT_TRUE(last_byte->ok);
  EXPECT_EQ(last_byte->image.ImageText.substr(kImageLength - 2), "AB");
  // A record without data places nothing, so it cannot fall outside.
  auto empty_beyond = Prepare(Lines({beyond, Data(0xFFFF, ""), top, Data(0xFFFF, ""), kEof}));
  ASSERT_TRUE(empty_beyond->ok) << empty_beyond->surface.messages.front();
  EXPECT_TRUE(empty_beyond->image.WrittenRanges.empty());
}

// A byte-order mark before the first record would hide its colon: the record at address
// 0 would be lost, or the data after a lost base would land at the wrong address.
TEST(PrepareImage, ALeadingByteOrderMarkIsNotPartOfTheFirstRecord) {
  const std::string bom = "\xEF\xBB\xBF";
  auto reset_vector = Prepare(bom + Lines({Data(0, "0102"), kEof}));
  ASSERT_TRUE(reset_vector->ok);
  EXPECT_EQ(Digits(reset_vector->image, 0, 2), "0102");
  auto based = Prepare(bom + Lines({":020000040001F9", Data(0x10, "5A"), kEof}));
  ASSERT_TRUE(based->ok);
  EXPECT_EQ(based->image.WrittenRanges, (std::vector<ByteRange>{{0x10010, 0x10011}}));
}

TEST(PrepareImage, AFieldThatIsNotHexadecimalRaisesAndKeepsTheEarlierImage) {
  auto first = Prepare(Lines({Data(0, "77"), kEof}));
  RecordingSurface s;
  // Checksum-correct line whose count field is "G0" (counts 0 in the sum).
  HexText hex(Lines({":G0000000" + std::string("00"), kEof}));
  ImageState image = std::move(first->image);
  try {
    PrepareImage(s, hex, image);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'$G0' is not a valid integer value");
  }
  EXPECT_EQ(Digits(image, 0, 1), "77");
}

TEST(PrepareImage, AnEmptyTextIsRefusedByTheGauge) {
  RecordingSurface s;
  HexText hex("");
  ImageState image;
  try {
    PrepareImage(s, hex, image);
    ADD_FAILURE();
  } catch (const ERangeError& e) {
    EXPECT_EQ(e.Message(), "Value must be between 1 and 2147483647");
  }
}

TEST(PrepareImage, LetsPendingMessagesThroughDuringTheWork) {
  RecordingSurface s;
  s.record_gauge_steps = false;
  HexText hex(kEof);
  ImageState image;
  ASSERT_TRUE(PrepareImage(s, hex, image));
  EXPECT_GE(s.processed, 3);  // once per pass at the least
}

// --- Independent producers -------------------------------------------------------------

class IndependentProducers : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("zorvan-hex-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string MakeBinary(size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(rng());
    const auto path = (dir_ / "data.bin").string();
    std::ofstream(path, std::ios::binary) << bytes;
    binary_ = bytes;
    return path;
  }

  // Runs `before` OUT `after`, where OUT is the HEX file the tool writes; returns its text.
  std::string Run(const std::string& before, const std::string& after = "") {
    const auto out = (dir_ / "out.hex").string();
    const std::string full = before + " " + out + " " + after;
    EXPECT_EQ(std::system(full.c_str()), 0) << full;
    std::ifstream in(out, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The image must hold the binary at `offset` and erased flash everywhere else.
  void ExpectImageHolds(const std::string& hex_text, size_t offset) {
    RecordingSurface s;
    s.record_gauge_steps = false;
    HexText hex(hex_text);
    ImageState image;
    ASSERT_TRUE(PrepareImage(s, hex, image)) << (s.messages.empty() ? "" : s.messages[0]);
    static const char kDigits[] = "0123456789ABCDEF";
    std::string expected(2 * binary_.size(), '?');
    for (size_t i = 0; i < binary_.size(); ++i) {
      expected[2 * i] = kDigits[static_cast<uint8_t>(binary_[i]) >> 4];
      expected[2 * i + 1] = kDigits[static_cast<uint8_t>(binary_[i]) & 15];
    }
    EXPECT_TRUE(image.ImageText.compare(2 * offset, expected.size(), expected) == 0);
    EXPECT_GE(image.ImageText.find_first_not_of('F'), 2 * offset);
    EXPECT_EQ(image.ImageText.find_first_not_of('F', 2 * (offset + binary_.size())), std::string::npos);
    EXPECT_EQ(image.WrittenRanges,
              (std::vector<ByteRange>{{static_cast<uint32_t>(offset),
                                       static_cast<uint32_t>(offset + binary_.size())}}));
  }

  std::filesystem::path dir_;
  std::string binary_;
};

TEST_F(IndependentProducers, SrecCatWithLinearAddressing) {
  if (const auto why = HostToolUnavailable("srec_cat", "srecord"); !why.empty()) GTEST_SKIP() << why;
  for (auto [size, offset] : {std::pair<size_t, size_t>{1000, 0}, {300000, 0x12345}, {70000, 0x12F0000}}) {
    const auto bin = MakeBinary(size, static_cast<unsigned>(size));
    ExpectImageHolds(Run("srec_cat " + bin + " -binary -offset " + std::to_string(offset) + " -o",
                         "-intel -address-length=4"),
                     offset);
  }
}

TEST_F(IndependentProducers, SrecCatWithSegmentAddressing) {
  if (const auto why = HostToolUnavailable("srec_cat", "srecord"); !why.empty()) GTEST_SKIP() << why;
  const auto bin = MakeBinary(200000, 7);
  ExpectImageHolds(Run("srec_cat " + bin + " -binary -offset 0xA0010 -o", "-intel -address-length=3"),
                   0xA0010);
}

TEST_F(IndependentProducers, ObjcopyWithSegmentAddressingAndAStartSegmentRecord) {
  if (const auto why = HostToolUnavailable("objcopy", "binutils"); !why.empty()) GTEST_SKIP() << why;
  const auto bin = MakeBinary(150000, 11);
  const std::string hex = Run("objcopy -I binary -O ihex --change-addresses 0x1234 " + bin);
  ASSERT_NE(hex.find(":02000002"), std::string::npos);
  ASSERT_NE(hex.find(":04000003"), std::string::npos);  // passed over
  ExpectImageHolds(hex, 0x1234);
}

TEST_F(IndependentProducers, ObjcopyStartLinearAddressRecordIsRefused) {
  if (const auto why = HostToolUnavailable("objcopy", "binutils"); !why.empty()) GTEST_SKIP() << why;
  const auto bin = MakeBinary(100, 3);
  const std::string hex =
      Run("objcopy -I binary -O ihex --change-addresses 0x123456 --set-start 0x123456 " + bin);
  RecordingSurface s;
  HexText text(hex);
  ImageState image;
  EXPECT_FALSE(PrepareImage(s, text, image));
  ASSERT_EQ(s.messages.size(), 1u);
  EXPECT_EQ(s.messages[0].rfind("Знайдено: Start Linear Address Records (MDK-ARM only): ", 0), 0u);
}

}  // namespace
}  // namespace zorvan
