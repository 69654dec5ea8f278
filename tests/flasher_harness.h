#pragma once
// The flasher's procedures wired to a simulated device on a pseudo-terminal, with a
// recording operator surface, for end-to-end tests.

#include <string>
#include <vector>

#include "protocol/flasher.h"
#include "serial/bcport.h"
#include "tests/recording_surface.h"
#include "tools/sim/sim_thread.h"

namespace zorvan::testing {

// A device small enough for quick runs: `chunks` of `chunk_size` bytes per block,
// `blocks` blocks, answering at once, holding firmware "250101".
sim::LoaderConfig SmallDevice(int chunks = 2, int chunk_size = 4, int blocks = 3);

// An image of `bytes` bytes whose every byte differs from its neighbours, as digits.
std::string PatternImage(size_t bytes);

struct FlasherHarness {
  explicit FlasherHarness(sim::LoaderConfig config, unsigned baud = 0);

  // The device's frames, in order, once it has been stopped.
  const std::vector<std::string>& Frames() { return sim.Device().Frames(); }
  // The frames whose command code is `code` ("04": the erases).
  std::vector<std::string> FramesOf(const std::string& code);
  // The flash as digits, to compare with the image.
  std::string FlashDigits();

  sim::SimThread sim;
  TBComPort port;
  RecordingSurface surface;
  FlasherState state;
  Flasher flasher{state, surface, port};
};

}  // namespace zorvan::testing
