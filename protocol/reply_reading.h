#pragma once
// Reading a reply as it comes: the read ends once the reply's final ";" has arrived, not
// after a silence behind it, and every wait ends at a deadline, so that neither a lost
// reply nor a wedged adapter can hold the procedure.

#include <chrono>
#include <string>
#include <string_view>

#include "protocol/flasher.h"

namespace zorvan {

using ReplyClock = std::chrono::steady_clock;

// When the reply to a frame of `frame_chars` characters written at `sent` must have come:
// the wire time, at the operator's line rate, of the frame and of a reply of
// `reply_chars` characters; the step's calibrated pause; the adapter's latency timer; the
// window an ordinary read of that length has under the loader's time-outs (a millisecond
// a character and one more), for a device slower than its pause says; and the moments a
// busy computer may keep the program or the adapter's driver from running. A reply given
// up for lost costs a retry, and grows the step's pause for the rest of the run.
ReplyClock::time_point ReplyDeadline(const Flasher& flasher, ReplyClock::time_point sent, size_t frame_chars,
                                     int reply_chars, unsigned pause_ms);

struct ReplyRead {
  std::string reply;  // up to and including the ";" that ended it, or all that came
  std::string after;  // what had come with it beyond that ";"
};

// Reads what comes, at most `count` characters, until the reply has ended or `deadline`
// has passed. With no `quiet` the reply ends at the first ";"; otherwise at a ";" after
// which nothing more comes within `quiet`, so that a ";" inside a longer text (a device's
// description) does not end it.
ReplyRead ReadReply(PortOperations& port, int count, ReplyClock::time_point deadline,
                    ReplyClock::duration quiet = ReplyClock::duration::zero());

// How many replies ended in `text`: every reply ends with one ";".
int RepliesIn(std::string_view text);

}  // namespace zorvan
