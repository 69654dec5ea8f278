// zorvan-flash reset: the operator's Ctrl+L. Sends the device the reset sequence.

#include "protocol/reset_command.h"
#include "cli/device_session.h"
#include "common/exit_codes.h"

namespace zorvan::cli {

int RunReset(const Arguments& args) {
  const auto options = ParseDeviceOptions(args, "reset");
  if (!options) return kExitUsage;
  return RunOnConsole(*options, [](Flasher& flasher) {
    ResetDevice(flasher);
    return kExitOk;
  });
}

}  // namespace zorvan::cli
