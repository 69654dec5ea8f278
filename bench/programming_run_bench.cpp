// One full programming run of the carried firmware into a simulated 128 KiB device at
// 115200 bit/s, timed against the protocol's lower bound: the wire time of every frame
// and reply (10 bits a character), the device's latencies, and the 1 ms of silence
// that ends every read. Measured in one run, so the ratio holds on any machine. The
// device answers straight from its UART, and then through USB adapters whose latency
// timers run 1, 4 and 16 ms (16 is the common chips' factory setting, 1 what Linux's
// low-latency request sets).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "firmware/embedded_firmware.h"
#include "firmware/image_builder.h"
#include "protocol/frames.h"
#include "protocol/loader_port.h"
#include "protocol/programming_run.h"
#include "bench/inert_line.h"
#include "tools/flash/console_surface.h"
#include "tools/sim/flash_check.h"
#include "tools/sim/sim_thread.h"

namespace {

using namespace zorvan;
using Clock = std::chrono::steady_clock;

constexpr unsigned kBaud = 115200;
constexpr double kEraseMs = 20, kWriteMs = 1, kCommitMs = 3, kAnswerMs = 1;
constexpr double kReadGapMs = 1;

double WireMs(size_t characters) { return 10.0 * static_cast<double>(characters) * 1000.0 / kBaud; }

// A surface nobody watches; it notes when the blocks begin and end, and every failure.
class MeasuringSurface : public cli::ConsoleSurface {
 public:
  MeasuringSurface(FlasherState& state, bool trace) : cli::ConsoleSurface(null_), state_(state), trace_(trace) {}

  void SetStatus(const std::string& text) override {
    cli::ConsoleSurface::SetStatus(text);
    if (text == kWritingStatus) blocks_began = Clock::now();
  }
  void SetGaugeProgress(int64_t progress) override {
    cli::ConsoleSurface::SetGaugeProgress(progress);
    if (progress > 0 && progress == state_.BlockCount) blocks_ended = Clock::now();
  }
  void SetCalibration(const std::string& text) override {
    cli::ConsoleSurface::SetCalibration(text);
    if (state_.CommandText.empty()) return;  // identification resets the label
    ++failures;
    if (trace_) {
      std::printf("%10.3f  %-14.14s  read %-24s  %s\n",
                  std::chrono::duration<double, std::milli>(Clock::now() - blocks_began).count(),
                  state_.CommandText.c_str(), ("\"" + state_.ReplyText + "\"").c_str(), text.c_str());
    }
  }
  Clock::time_point blocks_began, blocks_ended;
  int failures = 0;

 private:
  std::ostream null_{nullptr};
  FlasherState& state_;
  bool trace_;
};

// One run of the write button against a fresh simulated device; prints its figures and
// returns whether the flash matches the image.
bool MeasureRun(const std::string& title, double adapter_latency_ms, bool event_watch, bool trace) {
  sim::LoaderConfig device;
  device.geometry = {16, 64, 128};
  device.erase_ms = kEraseMs;
  device.write_ms = kWriteMs;
  device.commit_ms = kCommitMs;
  device.answer_ms = kAnswerMs;
  sim::SimThread sim(device, kBaud, adapter_latency_ms);

  FlasherState state;
  MeasuringSurface surface(state, trace);
  HexText text{std::string(EmbeddedFirmware)};
  if (!PrepareImage(surface, text, state)) return false;
  TBComPort port;
  ApplyLoaderPortSettings(port);
  if (!event_watch) port.SetLineEventDeviceFactory(MakeInertLine);
  surface.SetPortChoice(sim.PortPath(), br115200);
  Flasher flasher{state, surface, port};

  const auto began = Clock::now();
  const RunEnding ending = ButtonWriteClick(flasher);
  const auto ended = Clock::now();
  if (ending != RunEnding::Completed) {
    std::printf("%s\n  the run did not complete: failed attempts %d, final pauses %s\n", title.c_str(),
                surface.failures, surface.Calibration().c_str());
    return false;
  }

  // The bound of the blocks: every frame and reply on the wire, the device's work, and
  // the silence that ends each read, with every first attempt succeeding.
  const auto& g = device.geometry;
  const size_t reply = FrameCommand("84").size();
  auto exchange = [&](size_t frame, double latency_ms) { return WireMs(frame + reply) + latency_ms + kReadGapMs; };
  const double erase = exchange(FrameCommand("04000000").size(), kEraseMs);
  const double write = exchange(FrameCommand("0501" + std::string(2 * g.chunk_size, '0')).size(), kWriteMs);
  const double commit = exchange(kCommitFrame.size(), kCommitMs);
  const double blocks_bound = g.block_count * (erase + g.chunks_per_block * (write + commit));
  // The rest of the handler waits as the protocol says, and the device's answers fall
  // inside those waits: two drain reads on a silent line (141 ms each), five wake-ups
  // (50 ms), Identify (100 ms) and Describe (1000 ms) each followed by its read, and the
  // reset sequence (100 ms, then an exchange without a pause).
  const double rest_bound = 2 * 141 + 5 * 50 + (100 + kReadGapMs) + (1000 + kReadGapMs) + (100 + kReadGapMs) +
                            exchange(kResetFrame.size(), kAnswerMs);

  const double blocks_ms = std::chrono::duration<double, std::milli>(surface.blocks_ended - surface.blocks_began).count();
  const double total_ms = std::chrono::duration<double, std::milli>(ended - began).count();
  const std::string difference = sim::CompareFlashWithImage(sim.Device().Flash(), state);
  std::printf("%s\n", title.c_str());
  std::printf("  blocks        %8.0f ms   bound %8.0f ms   ratio %.3f\n", blocks_ms, blocks_bound,
              blocks_ms / blocks_bound);
  std::printf("  whole button  %8.0f ms   bound %8.0f ms   ratio %.3f\n", total_ms, blocks_bound + rest_bound,
              total_ms / (blocks_bound + rest_bound));
  std::printf("  failed attempts %d of the 399 a run may have, final pauses (erase.write.commit) %s\n",
              surface.failures,
              surface.Calibration().substr(surface.Calibration().find(' ') + 1).c_str());
  std::printf("  flash %s\n", difference.empty() ? "matches the image" : difference.c_str());
  return difference.empty();
}

}  // namespace

int main(int argc, char** argv) {
  // --trace prints every failed attempt: when, the frame, and what was read instead.
  // --adapter-latency MS (repeatable) measures only those adapters.
  bool trace = false;
  std::vector<double> latencies;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0) {
      trace = true;
    } else if (std::strcmp(argv[i], "--adapter-latency") == 0 && i + 1 < argc) {
      latencies.push_back(std::atof(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: zorvan-run-bench [--trace] [--adapter-latency MS]...\n");
      return 1;
    }
  }
  const bool every_adapter = latencies.empty();
  if (every_adapter) latencies = {0, 1, 4, 16};
  std::printf("programming run: the carried firmware, 128 blocks of 16 x 64 bytes, 115200 bit/s,\n"
              "erase %.0f ms, write %.0f ms, commit %.0f ms\n", kEraseMs, kWriteMs, kCommitMs);
  bool all_right = true;
  for (double latency : latencies) {
    const std::string adapter =
        latency > 0 ? "through an adapter with a " + std::to_string(static_cast<int>(latency)) + " ms latency timer"
                    : "straight from the UART";
    all_right = MeasureRun(adapter + ", with the event watch", latency, true, trace) && all_right;
  }
  // The window's port watches line events on a thread of its own; the run must not
  // notice it.
  if (every_adapter) all_right = MeasureRun("straight from the UART, without the event watch", 0, false, trace) && all_right;
  return all_right ? 0 : 1;
}
