#pragma once
// The flasher's procedures wired to a simulated device on a pseudo-terminal, with a
// recording operator surface, for end-to-end tests.

#include <string>
#include <vector>

#include "protocol/flasher.h"
#include "serial/bcport.h"
#include "tests/support/recording_surface.h"
#include "tools/sim/sim_thread.h"

namespace zorvan::testing {

// A device small enough for quick runs: `chunks` of `chunk_size` bytes per block,
// `blocks` blocks, answering at once, holding firmware "250101".
sim::LoaderConfig SmallDevice(int chunks = 2, int chunk_size = 4, int blocks = 3);

// An image of `bytes` bytes whose every byte differs from its neighbours, as digits.
std::string PatternImage(size_t bytes);

// A device's flash as digits, to compare with an image.
std::string FlashDigits(const sim::LoaderModel& device);

struct FlasherHarness {
  // The device answers through a USB adapter when `adapter_latency_ms` is not 0.
  explicit FlasherHarness(sim::LoaderConfig config, unsigned baud = 0, double adapter_latency_ms = 0);

  // The window's own timing instead of the quick one: all five time-outs 1 ms, replies
  // allowed for as the window allows for them, and the protocol's pauses waited for.
  void UseRealTiming();

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
