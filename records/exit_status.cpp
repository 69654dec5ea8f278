#include "records/exit_status.h"

#include "cli/exit_codes.h"

namespace zorvan {

using namespace cli;

int ExitStatusOf(RunEnding ending) {
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

int ExitStatusOf(std::optional<RunEnding> ending, DeviceResult result) {
  if (ending) return ExitStatusOf(*ending);
  // Only the port raises inside the write procedure, and the gate's conversion of a
  // description that is no number, which refuses the device.
  return result == DeviceResult::Refused ? kExitBadDescription : kExitPortError;
}

}  // namespace zorvan
