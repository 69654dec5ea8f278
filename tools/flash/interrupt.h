#pragma once
// Ctrl+C at the command line. The first asks every programming run to stop, as the
// window's Ctrl+Delete does, each at the point where its own rules let a stop act.
// While no run is writing blocks nothing has been erased anywhere, so Ctrl+C then ends
// the program at once, as a second Ctrl+C always does.

namespace zorvan::cli {

// Routes Ctrl+C here for the rest of the program.
void CatchInterrupt();

// Whether Ctrl+C has asked the runs to stop.
bool StopRequested();

// A run begins or ends writing blocks.
void WritingBegins();
void WritingEnds();

// Thrown out of a run that Ctrl+C stopped before it erased anything.
class RunInterrupted {};

}  // namespace zorvan::cli
