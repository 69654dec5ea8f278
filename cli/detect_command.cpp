// zorvan-flash detect: the detect button. Identifies the device on the port and shows
// its description.

#include "protocol/identification.h"
#include "cli/device_session.h"
#include "common/exit_codes.h"

namespace zorvan::cli {

int RunDetect(const Arguments& args) {
  const auto options = ParseDeviceOptions(args, "detect");
  if (!options) return kExitUsage;
  return RunOnConsole(*options, [](Flasher& flasher) {
    switch (ButtonConectClick(flasher)) {
      case IdentifyOutcome::Found: return kExitOk;
      case IdentifyOutcome::NotFound: return kExitNotFound;
      case IdentifyOutcome::UnknownLoaderVersion: return kExitUnknownLoader;
    }
    return kExitNotFound;
  });
}

}  // namespace zorvan::cli
