#include "firmware/embedded_firmware.h"

#include <gtest/gtest.h>

#include <map>

#include "firmware/image_builder.h"
#include "tests/support/recording_surface.h"

namespace zorvan {
namespace {

TEST(EmbeddedFirmware, HasTheShapeOfTheDevicesFirmwareText) {
  HexText text{std::string(EmbeddedFirmware)};
  ASSERT_EQ(text.LineCount(), 4715u);
  EXPECT_EQ(text.Line(0), ":020000040000FA");
  EXPECT_EQ(text.Line(4098), ":020000040001F9");
  EXPECT_EQ(text.Line(4714), ":00000001FF");
  std::map<int, int> data_records_by_size;
  for (size_t i = 0; i < text.LineCount(); ++i) {
    const auto line = text.Line(i);
    ASSERT_EQ(line.front(), ':') << i;
    ASSERT_EQ(line.find_first_not_of(":0123456789ABCDEF"), std::string_view::npos) << i;
    if (i != 0 && i != 4098 && i != 4714) {
      ASSERT_EQ(line.substr(7, 2), "00") << "line " << i + 1 << " is not a data record";
      ++data_records_by_size[std::stoi(std::string(line.substr(1, 2)), nullptr, 16)];
    }
  }
  EXPECT_EQ(data_records_by_size, (std::map<int, int>{{16, 4706}, {8, 3}, {4, 1}, {10, 1}, {14, 1}}));
}

TEST(EmbeddedFirmware, PreparesIntoFourRunsCarryingItsVersion) {
  testing::RecordingSurface s;
  s.record_gauge_steps = false;
  HexText text{std::string(EmbeddedFirmware)};
  ImageState image;
  ASSERT_TRUE(PrepareImage(s, text, image));
  EXPECT_TRUE(s.messages.empty());
  EXPECT_EQ(image.WrittenRanges, (std::vector<ByteRange>{{0x00000, 0x00004},
                                                          {0x00008, 0x1232E},
                                                          {0x1FCA8, 0x1FFCA},
                                                          {0x1FFF8, 0x20000}}));
  EXPECT_EQ(image.ImageText.find_first_not_of('F', 2 * 0x20000), std::string::npos);
  // "260313" in ASCII, as the firmware's identification strings carry it.
  EXPECT_NE(image.ImageText.find("323630333133"), std::string::npos);
}

}  // namespace
}  // namespace zorvan
