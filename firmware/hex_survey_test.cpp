#include "firmware/hex_survey.h"

#include <gtest/gtest.h>

#include "firmware/embedded_firmware.h"
#include "firmware/image_builder.h"
#include "tests/support/recording_surface.h"

namespace zorvan {
namespace {

struct Case {
  const char* what;
  std::string text;
  HexTextProblem problem;
  bool has_end_record;
};

// What operators pick by mistake, and the real HEX files beside them. Whatever the survey
// accepts must give an image with data, and whatever it refuses as holding no data
// record must give none: the survey and the record pass agree.
TEST(HexSurvey, RefusesWhatHoldsNoDataAndAgreesWithTheRecordPass) {
  const std::string binary("\x7F" "ELF\x02\x01\x01\x00\x00\x00:0400000043EF01F0D9\n", 27);
  const std::vector<Case> cases = {
      {"the carried firmware", std::string(EmbeddedFirmware), HexTextProblem::None, true},
      {"lower case, no end-of-file record", ":0400000043ef01f0d9\r\n", HexTextProblem::None, false},
      {"a comment and blank lines around a record", "; fw 1.2\n\n:0400000043EF01F0D9\n:00000001FF\n\n",
       HexTextProblem::None, true},
      {"an end-of-file record alone", ":00000001FF\n", HexTextProblem::NoDataRecord, true},
      {"records without data", ":020000040000FA\n:0000000000\n:00000001FF\n", HexTextProblem::NoDataRecord, true},
      {"data only after the end-of-file record", ":00000001FF\n:0400000043EF01F0D9\n",
       HexTextProblem::NoDataRecord, true},
      {"an S-record file", "S00F000068656C6C6F202020202000003C\nS11F00007C0802A6900100049421FFF07C6C1B787C8C23783C6000003863000026\n",
       HexTextProblem::NoDataRecord, false},
      {"an error page saved as firmware.hex", "<!DOCTYPE html>\n<html><body>404 Not Found</body></html>\n",
       HexTextProblem::NoDataRecord, false},
      {"records indented, which the record pass skips", "  :0400000043EF01F0D9\n", HexTextProblem::NoDataRecord,
       false},
      {"a binary with a record's bytes in it", binary, HexTextProblem::Binary, false},
      {"an empty file", "", HexTextProblem::Empty, false},
      {"a byte-order mark alone", "\xEF\xBB\xBF", HexTextProblem::Empty, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HexText text(c.text);
    const HexSurvey survey = SurveyHexText(text);
    EXPECT_EQ(survey.problem, c.problem);
    EXPECT_EQ(survey.has_end_record, c.has_end_record);
    if (c.problem != HexTextProblem::None && c.problem != HexTextProblem::NoDataRecord) continue;
    testing::RecordingSurface surface;
    surface.record_gauge_steps = false;
    ImageState image;
    ASSERT_TRUE(PrepareImage(surface, text, image));
    EXPECT_EQ(image.WrittenRanges.empty(), c.problem == HexTextProblem::NoDataRecord);
  }
}

TEST(HexSurvey, TheRefusalNamesTheFile) {
  EXPECT_EQ(NotIntelHexMessage(HexTextProblem::NoDataRecord, "fw.hex"), "Файл fw.hex не містить записів Intel HEX!");
  EXPECT_EQ(NotIntelHexMessage(HexTextProblem::Binary, "fw.bin"), "Файл fw.bin двійковий, а не текст Intel HEX!");
}

}  // namespace
}  // namespace zorvan
