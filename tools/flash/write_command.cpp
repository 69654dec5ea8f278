// zorvan-flash write: the write button. Programs the carried firmware, or the image of
// a HEX file prepared as `check` prepares it, into the device on the port.

#include <iostream>

#include "common/errors.h"
#include "protocol/programming_run.h"
#include "tools/flash/device_session.h"
#include "tools/flash/exit_codes.h"
#include "firmware/firmware_source.h"

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

}  // namespace

int RunWrite(const Arguments& args) {
  const auto options = ParseDeviceOptions(args, "write", true);
  if (!options) return kExitUsage;
  DeviceSession session(*options);
  session.surface.CatchInterrupt();
  try {
    HexText text = LoadHexText(options->hex);
    if (!PrepareImage(session.surface, text, session.state)) return kExitHexError;
  } catch (const Exception& e) {
    std::cerr << ExceptionDisplayText(e.Message()) << "\n";
    return kExitHexError;
  }
  if (!options->hex.empty()) session.surface.SetHexFileName(FileNameOnly(options->hex));
  return session.Run([](Flasher& flasher) { return ExitCodeOf(ButtonWriteClick(flasher)); });
}

}  // namespace zorvan::cli
