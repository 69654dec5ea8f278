#include "firmware/hex_survey.h"

namespace zorvan {

HexSurvey SurveyHexText(const HexText& text) {
  HexSurvey survey;
  if (text.Text().find('\0') != std::string::npos) {
    survey.problem = HexTextProblem::Binary;
    return survey;
  }
  if (text.LineCount() == 0) {
    survey.problem = HexTextProblem::Empty;
    return survey;
  }
  bool data = false;
  for (size_t i = 0; i < text.LineCount(); ++i) {
    const std::string_view line = text.Line(i);
    // The record pass reads the type by its second digit, as here, and stops at the
    // end-of-file record: a data record after it places nothing.
    if (line.size() < 9 || line.front() != ':') continue;
    if (line[8] == '1') {
      survey.has_end_record = true;
      break;
    }
    // A record whose count is 0 places nothing either.
    if (line[8] == '0' && line.substr(1, 2) != "00") data = true;
  }
  if (!data) survey.problem = HexTextProblem::NoDataRecord;
  return survey;
}

std::string NotIntelHexMessage(HexTextProblem problem, const std::string& file_name) {
  return kNoHexRecordsHead + file_name + (problem == HexTextProblem::Binary ? kBinaryFileTail : kNoHexRecordsTail);
}

}  // namespace zorvan
