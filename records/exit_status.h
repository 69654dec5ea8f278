#pragma once
// The exit status a write run ends the command line with, which every run record carries,
// whichever program made the run.

#include <optional>

#include "protocol/device_result.h"
#include "protocol/programming_run.h"

namespace zorvan {

int ExitStatusOf(RunEnding ending);
// A run that an error ended (no ending): a description that is no number, or the port's.
int ExitStatusOf(std::optional<RunEnding> ending, DeviceResult result);

}  // namespace zorvan
