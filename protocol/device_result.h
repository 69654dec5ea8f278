#pragma once
// How a device fared in the write button's procedure, as a production line counts it:
// one reading of a run's ending for the command line's loop and the window's automatic
// mode alike.

#include "common/errors.h"
#include "protocol/programming_run.h"

namespace zorvan {

enum class DeviceResult {
  Passed,   // every chunk written and committed, the device reset
  Failed,   // a step failed for good, or the run was stopped
  PortLost, // failed with a port error: the device is taken as gone with its port
  Refused,  // the gate, the loader version or the device's memory kept it from being written
  Gone,     // nothing answered when the run identified it: not counted
};

DeviceResult DeviceResultOf(RunEnding ending);

// The same for a run that an error ended: a port error lost the port; a description that
// is no version number is refused, as the gate refuses one; anything else failed it.
DeviceResult DeviceResultOf(const Exception& error);

}  // namespace zorvan
