#pragma once
// Ctrl+C at the command line. The first asks every programming run to stop, as the
// window's Ctrl+Delete does, each at the point where its own rules let a stop act.
// While no run is writing blocks nothing has been erased anywhere, so Ctrl+C then ends
// the program at once, as a second Ctrl+C always does.
//
// In a production loop the first Ctrl+C only ends the loop once the runs in progress
// are over; the next one is the first one above.

namespace zorvan::cli {

// Routes Ctrl+C here for the rest of the program.
void CatchInterrupt();

// Whether Ctrl+C has asked the runs to stop.
bool StopRequested();

// A run begins or ends writing blocks.
void WritingBegins();
void WritingEnds();

// A production loop runs from here on: Ctrl+C asks it to end first.
void LoopBegins();
// Asks the loop to end once its runs in progress are over, as Ctrl+C does.
void EndLoop();
// Whether the loop is to end.
bool LoopEndRequested();

// Thrown out of a run that Ctrl+C stopped before it erased anything.
class RunInterrupted {};

}  // namespace zorvan::cli
