// zorvan-flash write: the write button. Programs the carried firmware, or the image of
// a HEX file prepared as `check` prepares it, into the device on the port, or into the
// devices on several ports at once, and records each run when asked to.

#include <unistd.h>

#include <iostream>
#include <map>
#include <memory>

#include "common/errors.h"
#include "firmware/firmware_source.h"
#include "cli/console_surface.h"
#include "cli/device_session.h"
#include "cli/exit_codes.h"
#include "cli/gang_write.h"
#include "cli/interrupt.h"
#include "cli/hex_file.h"
#include "cli/production_loop.h"
#include "cli/write_record.h"
#include "cli/texts.h"
#include "cli/write_run.h"

namespace zorvan::cli {

namespace {

// Two runs on one device would garble each other's frames; a stable by-id name and the
// device it leads to are the same port.
bool PortsAreDistinct(const std::vector<std::string>& ports) {
  std::map<std::string, std::string> named;
  for (const std::string& port : ports) {
    const std::string identity = PortIdentity(port);
    const auto [earlier, fresh] = named.emplace(identity, port);
    if (fresh) continue;
    std::cerr << "zorvan-flash write: " << Say(Msg::SamePort, {earlier->second, port, identity}) << "\n";
    return false;
  }
  return true;
}

}  // namespace

int RunWrite(const Arguments& args) {
  const auto options = ParseDeviceOptions(args, "write", true);
  if (!options) return kExitUsage;
  if (!PortsAreDistinct(options->ports)) return kExitUsage;
  CatchInterrupt();
  std::unique_ptr<RunRecorder> recorder;
  if (!options->record.empty()) {
    // Before any device is touched: a run that could not be recorded is not started.
    try {
      recorder = OpenRecorder(*options);
    } catch (const Exception& e) {
      std::cerr << ExceptionDisplayText(e.Message()) << " " << Say(Msg::NoDeviceTouched) << "\n";
      return kExitRecordFailed;
    }
  }
  ImageState image;
  std::optional<HexText> text = ReadHexFile(options->hex);
  if (text && recorder) NoteFirmware(*recorder, *options, text->Text());
  if (!text || !PrepareHexImage(options->hex, *text, image, /*note_missing_end=*/false)) {
    std::cerr << Say(Msg::NoDeviceTouched) << "\n";
    return kExitHexError;
  }
  const std::string hex_file_name = options->hex.empty() ? std::string() : FileNameOnly(options->hex);
  if (options->loop) return RunLoop(*options, image, hex_file_name, recorder.get());
  if (options->ports.size() > 1) return RunGang(*options, image, hex_file_name, recorder.get());

  ConsoleProgressView view(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0);
  const std::string& port = options->ports.front();
  const WriteOutcome outcome = WriteOnPort(port, *options, image, hex_file_name, view);
  if (!recorder) return outcome.exit_status;
  try {
    RecordRun(*recorder, port, outcome);
  } catch (const Exception& e) {
    view.Print(e.Message(), /*error=*/true);
    return outcome.exit_status == kExitOk ? kExitRecordFailed : outcome.exit_status;
  }
  return outcome.exit_status;
}

}  // namespace zorvan::cli
