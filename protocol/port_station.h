#pragma once
// The production cycle's acts on a real port, shared by the command line's loop and the
// window's automatic mode: a look is the write button's identification made quietly, and
// letting a device go is the reset sequence. A look that finds nothing and a device let go
// leave the port closed; after a port error the cycle releases it. What differs between
// the two (the run and how it is shown, the waits, whether an end is asked for) is left
// to each.
//
// A look never holds its caller longer than a slice of a wait: between the slices of its
// pauses and of its waits for replies the surface's pending messages run and an end asked
// for is heeded, which cuts the look short. So the window stays responsive while it looks
// at an empty port, and Ctrl+C ends the command line's loop during a look.

#include "protocol/flasher.h"
#include "protocol/production_cycle.h"

namespace zorvan {

class PortStation : public CycleStation {
 public:
  // `flasher`: the port, the state and the surface looks are made with; its surface
  // gives the port choice, the pauses and the processing of messages.
  explicit PortStation(Flasher& flasher) : flasher_(flasher) {}

  LookOutcome Look() override;
  std::optional<std::string> LetGo() override;
  void Release() override;

 protected:
  Flasher& flasher_;
};

// How long a look pauses at most before it lets messages run and heeds an end: often
// enough for a click to be answered at once. (Its reads for replies end sooner still.)
inline constexpr unsigned kAttentionSlice = 50;

}  // namespace zorvan
