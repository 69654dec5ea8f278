#include "cli/write_run.h"

#include "cli/exit_codes.h"
#include "cli/system_texts.h"
#include "cli/texts.h"
#include "common/display_text.h"
#include "protocol/programming_run.h"
#include "records/exit_status.h"

namespace zorvan::cli {

WriteOutcome WriteOnPort(const std::string& port, const DeviceOptions& options, const ImageState& image,
                         const std::string& hex_file_name, ProgressView& view) {
  DeviceSession session(port, options.baud_rate_index);
  return WriteOnPort(session, options, image, hex_file_name, view);
}

WriteOutcome WriteOnPort(DeviceSession& session, const DeviceOptions& options, const ImageState& image,
                         const std::string& hex_file_name, ProgressView& view) {
  WriteOutcome outcome;
  outcome.began = std::chrono::system_clock::now();
  const auto started = std::chrono::steady_clock::now();
  ProgressSurface surface(view, session.state, VerbosityOf(options));
  surface.SetHexFileName(hex_file_name);
  // Whether the gate gives way is the command line's to say: --force for this version or
  // none, twice (or --allow-downgrade) for a newer one.
  const GateOverride write_anyway = [&](GateVerdict verdict, const std::string& refusal) {
    const bool newer = verdict == GateVerdict::NewerVersion;
    outcome.forced = newer ? options.force >= 2 || options.allow_downgrade : options.force >= 1;
    if (outcome.forced) {
      view.Print(Say(Msg::WrittenAllTheSame,
                     {CommandLineText(refusal), newer && options.force < 2 ? "--allow-downgrade" : "--force"}));
    } else if (newer && options.force == 1) {
      view.Print(Say(Msg::NewerNeedsMore));
    }
    return outcome.forced;
  };
  outcome.exit_status = session.Run(surface, image, [&](Flasher& flasher) {
    try {
      const RunEnding ending = ButtonWriteClick(flasher, write_anyway);
      outcome.device = DeviceResultOf(ending);
      return ExitStatusOf(ending);
    } catch (const Exception& error) {
      outcome.device = DeviceResultOf(error);
      throw;
    }
  });
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  outcome.result = EndingMessage(surface.Shown(), outcome.exit_status == kExitFailed);
  outcome.description = surface.Description();
  outcome.loader_version = session.state.LoaderVersion;
  outcome.calibration = surface.Calibration();
  outcome.progress = surface.Progress();
  return outcome;
}

}  // namespace zorvan::cli
