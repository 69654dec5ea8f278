#pragma once
// The write button: identify the device, refuse it when it already carries this firmware
// or a newer one, then erase, write and commit every chunk of every block with pauses
// that calibrate themselves to the device.

#include <cstdint>
#include <string>

#include "protocol/flasher.h"

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

// The counters of one run, all 0 at its start; the three pauses grow by 1 ms with
// every failure of their kind and never shrink during the run.
struct RunCounters {
  int32_t FlashAddress = 0;
  int32_t EraseDelay = 0;
  int32_t WriteDelay = 0;
  int32_t CommitDelay = 0;
  int32_t FailureCount = 0;
};

// The whole write button handler: all endings with their messages, sounds, labels and
// enabled controls. Port and conversion errors are not caught.
RunEnding ButtonWriteClick(Flasher& flasher);

// The version gate on the device's description: the message that refuses it, or empty
// when it may be programmed. A six-character text that is not a number raises
// EConvertError.
std::string VersionGateRefusal(const std::string& description);

// The status label while blocks are being erased and written.
inline constexpr const char* kWritingStatus = "Йде запис! Заборонено переривати!";

// The highest address the six-digit erase address can carry, plus one.
inline constexpr int64_t kAddressableBytes = 0x1000000;

}  // namespace zorvan
