#pragma once
// The send/receive patterns everything on the loader's line is built from (the steps'
// exchanges are in protocol/step_exchange.h). Each pause blocks: nothing is let through
// to the window while it lasts.

#include <string>
#include <string_view>

#include "protocol/flasher.h"

namespace zorvan {

// Closes the port, takes the port name and rate the operator chose, and opens it again;
// notes what the system reports of the latency timer of the adapter behind it. Returns
// what Open returns.
bool ReopenPort(Flasher& flasher);

// Writes `text`, steps the main gauge by `gauge_step` (it clamps at its maximum) and
// pauses.
void PacedSend(Flasher& flasher, std::string_view text, int gauge_step, unsigned pause_ms);

// Five wake-up strings, 50 ms apart, with nothing read: what the device answers waits
// for the next read.
void WakeUpBurst(Flasher& flasher);

// Two reads of up to 140 characters into IdentText, to throw away whatever was queued.
void DrainInput(Flasher& flasher);

// Two Reset frames (the first followed by 100 ms), each followed by a read into
// ReplyText that nobody examines, then the exclamation beep. The port is left open.
void ResetSequence(Flasher& flasher);

}  // namespace zorvan
