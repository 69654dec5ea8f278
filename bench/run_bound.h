#pragma once
// The least time a programming run can take, from the frames it actually sent: with a
// strict request and reply, no exchange can end before its reply's last character has
// reached the host. That is the frame's wire time, the device's latency and the reply's
// wire time; behind a USB adapter the reply reaches the host at the first tick of its
// latency timer after that, and as the host sends its next frame on that tick, every
// exchange is rounded up to whole ticks.

#include <string>
#include <vector>

namespace zorvan::bench {

struct DeviceTiming {
  unsigned baud = 115200;
  double erase_ms = 0, write_ms = 0, commit_ms = 0;
  double answer_ms = 0;           // Reset, Identify and Describe
  double adapter_latency_ms = 0;  // 0: straight from the UART
};

struct RunBound {
  double blocks_ms = 0;  // the Erase, Write and Commit exchanges
  double whole_ms = 0;   // the blocks, identification, the reset and the fixed waits
};

// `frames`: every frame the device accepted, in order. `reply_chars(frame)`: the length of
// the device's reply to it. The whole run adds the waits the write button makes whatever
// the line: two drain reads on a silent line (141 ms each), five wake-ups 50 ms apart,
// and the reset sequence's 100 ms pause with the 1 ms of silence that ends each of its
// two reads.
RunBound BoundOf(const std::vector<std::string>& frames, size_t (*reply_chars)(const std::string& frame),
                 const DeviceTiming& timing);

}  // namespace zorvan::bench
