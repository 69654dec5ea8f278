#include "tools/flash/write_run.h"

#include "protocol/programming_run.h"
#include "tools/flash/exit_codes.h"

namespace zorvan::cli {

namespace {

int ExitCodeOf(RunEnding ending) {
  switch (ending) {
    case RunEnding::Completed: return kExitOk;
    case RunEnding::NotFound: return kExitNotFound;
    case RunEnding::UnknownLoaderVersion: return kExitUnknownLoader;
    case RunEnding::Refused: return kExitRefused;
    case RunEnding::Failed: return kExitFailed;
    case RunEnding::Stopped: return kExitStopped;
    case RunEnding::Declined: return kExitDeclined;
  }
  return kExitFailed;
}

// The first line of `text` with text in it, without the spaces that centre it.
std::string FirstLine(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const size_t first = text.find_first_not_of(' ', start);
    if (first < end) return text.substr(first, end - first);
    start = end + 1;
  }
  return {};
}

// The message that tells how the run ended: the last one shown, except after a failed
// step, whose message is followed by the warning about an incomplete write.
std::string EndingMessage(const std::vector<std::string>& shown, int exit_status) {
  if (shown.empty()) return {};
  const size_t index = exit_status == kExitFailed && shown.size() >= 2 ? shown.size() - 2 : shown.size() - 1;
  return FirstLine(shown[index]);
}

}  // namespace

WriteOutcome WriteOnPort(const std::string& port, const DeviceOptions& options, const ImageState& image,
                         const std::string& hex_file_name, ProgressView& view) {
  WriteOutcome outcome;
  outcome.began = std::chrono::system_clock::now();
  const auto started = std::chrono::steady_clock::now();
  DeviceSession session(port, options.baud_rate_index);
  ProgressSurface surface(view, session.state, options.verbose);
  surface.SetHexFileName(hex_file_name);
  outcome.exit_status =
      session.Run(surface, image, [](Flasher& flasher) { return ExitCodeOf(ButtonWriteClick(flasher)); });
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  outcome.result = EndingMessage(surface.Shown(), outcome.exit_status);
  outcome.description = surface.Description();
  outcome.loader_version = session.state.LoaderVersion;
  outcome.calibration = surface.Calibration();
  return outcome;
}

}  // namespace zorvan::cli
