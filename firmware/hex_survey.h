#pragma once
// A look at a text before it is taken for Intel HEX. The line checks skip every line that
// does not begin with ":", as they must for blank lines and comments, so a file that is
// not Intel HEX at all (a raw binary, an S-record file, an error page saved as
// firmware.hex) would pass them and become an image of nothing but 0xFF, which a
// programming run would write over the device's firmware. Such a file is refused before
// any device is touched.

#include <string>

#include "firmware/hex_text.h"

namespace zorvan {

enum class HexTextProblem {
  None,
  Empty,         // no line at all (the window's gauge refuses it, as ever)
  Binary,        // it holds NUL bytes, which no text file does
  NoDataRecord,  // no data record with data comes before the end-of-file record
};

struct HexSurvey {
  HexTextProblem problem = HexTextProblem::None;
  // An end-of-file record (":00000001FF") ends the records. Files without one are
  // prepared from every line, as they always were; a tool may mention it.
  bool has_end_record = false;
};

HexSurvey SurveyHexText(const HexText& text);

// The window's message for a file refused as Binary or NoDataRecord, naming the file.
std::string NotIntelHexMessage(HexTextProblem problem, const std::string& file_name);

inline constexpr const char* kNoHexRecordsHead = "Файл ";
inline constexpr const char* kNoHexRecordsTail = " не містить записів Intel HEX!";
inline constexpr const char* kBinaryFileTail = " двійковий, а не текст Intel HEX!";

}  // namespace zorvan
