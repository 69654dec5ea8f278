#pragma once
// The write button: identify the device, refuse it when it already carries this firmware
// or a newer one, then erase, write and commit every chunk of every block with pauses
// that calibrate themselves to the device.

#include <string>
#include <vector>

#include "protocol/flasher.h"
#include "protocol/version_gate.h"

namespace zorvan {

enum class RunEnding {
  NotFound,              // no loader answered (identification reported it)
  UnknownLoaderVersion,  // the loader speaks another version (reported)
  Refused,               // the device already holds this or a newer firmware
  Completed,             // every chunk committed, the device reset
  Failed,                // the run's failure budget ran out
  Stopped,               // the operator's stop request was seen
  Declined,              // nothing erased: no complete image, or a memory too large to address
};

// The whole write button handler: all endings with their messages, sounds, labels and
// enabled controls. Port and conversion errors are not caught. When the version gate
// refuses the device, `write_anyway` (when given) is asked whether to write it all the
// same; otherwise, or when it answers no, the device is refused.
RunEnding ButtonWriteClick(Flasher& flasher, const GateOverride& write_anyway = {});

// The status label while blocks are being erased and written.
inline constexpr const char* kWritingStatus = "Йде запис! Заборонено переривати!";

}  // namespace zorvan
