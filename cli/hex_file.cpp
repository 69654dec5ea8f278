#include "cli/hex_file.h"

#include <iostream>

#include "common/errors.h"
#include "firmware/firmware_source.h"
#include "firmware/hex_survey.h"
#include "cli/console_surface.h"
#include "cli/system_texts.h"
#include "cli/texts.h"

namespace zorvan::cli {

std::optional<HexText> ReadHexFile(const std::string& path) {
  try {
    return LoadHexText(path);
  } catch (const EFileError& e) {
    std::cerr << Say(Msg::CannotOpenFile, {e.Path(), ErrorReason(e.Error())}) << "\n";
  }
  return std::nullopt;
}

bool PrepareHexImage(const std::string& path, HexText& text, ImageState& image, bool note_missing_end) {
  const HexSurvey survey = SurveyHexText(text);
  switch (survey.problem) {
    case HexTextProblem::None: break;
    case HexTextProblem::Empty:
      std::cerr << Say(Msg::EmptyHexFile, {path}) << "\n";
      return false;
    case HexTextProblem::Binary:
    case HexTextProblem::NoDataRecord:
      std::cerr << CommandLineText(NotIntelHexMessage(survey.problem, path)) << "\n";
      return false;
  }
  try {
    ConsoleSurface preparation(std::cerr);
    if (!PrepareImage(preparation, text, image)) return false;
  } catch (const Exception& e) {
    // A field that is not hexadecimal.
    std::cerr << ExceptionDisplayText(CommandLineText(e.Message())) << "\n";
    return false;
  }
  if (note_missing_end && !survey.has_end_record && !path.empty()) {
    std::cout << Say(Msg::NoEndRecord, {path}) << "\n";
  }
  return true;
}

}  // namespace zorvan::cli
