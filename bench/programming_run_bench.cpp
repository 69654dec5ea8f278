// Whole programming runs of the carried firmware into a simulated 128 KiB device at
// 115200 bit/s with a real device's latencies, timed against the least time the frames
// they sent can take (bench/run_bound.h). Measured in one run, so the ratios hold on any
// machine. The device answers straight from its UART and through USB adapters whose
// latency timers run 1, 2, 4, 8 and 16 ms (16 is the common chips' factory setting, 1
// what Linux's low-latency request sets), each with the exchange that ends when the
// reply has come and with the timed window it replaced, side by side.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/inert_line.h"
#include "bench/run_bound.h"
#include "common/conversions.h"
#include "firmware/embedded_firmware.h"
#include "firmware/image_builder.h"
#include "protocol/loader_port.h"
#include "protocol/programming_run.h"
#include "protocol/headless_surface.h"
#include "tools/sim/flash_check.h"
#include "tools/sim/sim_thread.h"

namespace {

using namespace zorvan;
using Clock = std::chrono::steady_clock;

constexpr unsigned kBaud = 115200;
constexpr sim::Geometry kGeometry{16, 64, 128};
constexpr double kEraseMs = 20, kWriteMs = 1, kCommitMs = 3, kAnswerMs = 1;
constexpr double kGoal = 1.05;

// The simulated device's reply to each frame it accepts.
size_t ReplyChars(const std::string& frame) {
  const std::string code = frame.substr(1, 2);
  if (code == "02") {
    return sim::ReplyFrame("82", "02" "0000" + IntToHex(kGeometry.chunks_per_block, 2) +
                                     IntToHex(kGeometry.chunk_size, 2) + IntToHex(kGeometry.block_count, 4))
        .size();
  }
  if (code == "03") return sim::ReplyFrame("83", sim::LoaderConfig{}.description).size();
  return sim::ReplyFrame("84", "").size();
}

// A surface nobody watches; it notes when the blocks begin and end, and every failure.
class MeasuringSurface : public HeadlessSurface {
 public:
  MeasuringSurface(FlasherState& state, bool trace) : HeadlessSurface(null_), state_(state), trace_(trace) {}

  void SetStatus(const std::string& text) override {
    HeadlessSurface::SetStatus(text);
    if (text == kWritingStatus) blocks_began = Clock::now();
  }
  void SetGaugeProgress(int64_t progress) override {
    HeadlessSurface::SetGaugeProgress(progress);
    if (progress > 0 && progress == state_.BlockCount) blocks_ended = Clock::now();
  }
  void SetCalibration(const std::string& text) override {
    HeadlessSurface::SetCalibration(text);
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

struct Figures {
  bool completed = false;
  double run_ms = 0, blocks_ms = 0;
  bench::RunBound bound;
  int failures = 0;
  std::string pauses;  // erase.write.commit
  std::string flash;   // empty when it holds the image
};

// One press of the write button against a fresh simulated device.
Figures MeasureRun(ExchangeStyle style, double adapter_latency_ms, bool event_watch, bool trace) {
  sim::LoaderConfig device;
  device.geometry = kGeometry;
  device.erase_ms = kEraseMs;
  device.write_ms = kWriteMs;
  device.commit_ms = kCommitMs;
  device.answer_ms = kAnswerMs;
  sim::SimThread sim(device, kBaud, adapter_latency_ms);

  FlasherState state;
  MeasuringSurface surface(state, trace);
  HexText text{std::string(EmbeddedFirmware)};
  Figures figures;
  if (!PrepareImage(surface, text, state)) return figures;
  TBComPort port;
  ApplyLoaderPortSettings(port);
  if (!event_watch) port.SetLineEventDeviceFactory(MakeInertLine);
  surface.SetPortChoice(sim.PortPath(), br115200);
  Flasher flasher{state, surface, port};
  flasher.exchange.style = style;

  const auto began = Clock::now();
  figures.completed = ButtonWriteClick(flasher) == RunEnding::Completed;
  figures.run_ms = std::chrono::duration<double, std::milli>(Clock::now() - began).count();
  figures.blocks_ms = std::chrono::duration<double, std::milli>(surface.blocks_ended - surface.blocks_began).count();
  figures.failures = surface.failures;
  figures.pauses = surface.Calibration().substr(surface.Calibration().find(' ') + 1);
  figures.flash = sim::CompareFlashWithImage(sim.Device().Flash(), state);
  figures.bound = bench::BoundOf(sim.Device().Frames(), ReplyChars,
                                 {kBaud, kEraseMs, kWriteMs, kCommitMs, kAnswerMs, adapter_latency_ms});
  return figures;
}

double Ratio(double ms, double bound_ms) { return bound_ms > 0 ? ms / bound_ms : 0; }

void PrintRow(const std::string& adapter, const char* exchange, const Figures& f) {
  if (!f.completed) {
    std::printf("%-9s %-13s did not complete: failed attempts %d, final pauses %s\n", adapter.c_str(), exchange,
                f.failures, f.pauses.c_str());
    return;
  }
  std::printf("%-9s %-13s %7.2f s %7.2f s  %6.3f  %6.3f  %6d  %-9s %s\n", adapter.c_str(), exchange,
              f.run_ms / 1000, f.bound.whole_ms / 1000, Ratio(f.run_ms, f.bound.whole_ms),
              Ratio(f.blocks_ms, f.bound.blocks_ms), f.failures, f.pauses.c_str(),
              f.flash.empty() ? "right" : f.flash.c_str());
}

bool MeetsTheGoal(const Figures& f) {
  return f.completed && f.flash.empty() && Ratio(f.run_ms, f.bound.whole_ms) <= kGoal &&
         Ratio(f.blocks_ms, f.bound.blocks_ms) <= kGoal;
}

std::string LoadAverage() {
  std::ifstream in("/proc/loadavg");
  std::string one, five, fifteen;
  in >> one >> five >> fifteen;
  return one + " " + five + " " + fifteen;
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
  if (every_adapter) latencies = {0, 1, 2, 4, 8, 16};
  std::printf("programming runs: the carried firmware, 128 blocks of 16 x 64 bytes, 115200 bit/s,\n"
              "erase %.0f ms, write %.0f ms, commit %.0f ms; load average %s\n\n", kEraseMs, kWriteMs, kCommitMs,
              LoadAverage().c_str());
  std::printf("%-9s %-13s %9s %9s  %6s  %6s  %6s  %-9s %s\n", "adapter", "exchange", "run", "bound", "ratio",
              "blocks", "failed", "pauses", "flash");
  bool flash_right = true;
  bool goal_met = true;
  for (double latency : latencies) {
    const std::string adapter = latency > 0 ? std::to_string(static_cast<int>(latency)) + " ms" : "UART";
    const Figures until_reply = MeasureRun(ExchangeStyle::UntilReply, latency, true, trace);
    PrintRow(adapter, "until reply", until_reply);
    const Figures timed = MeasureRun(ExchangeStyle::TimedWindow, latency, true, trace);
    PrintRow("", "timed window", timed);
    flash_right = flash_right && until_reply.completed && until_reply.flash.empty() && timed.flash.empty();
    goal_met = goal_met && MeetsTheGoal(until_reply);
  }
  // The window's port watches line events on a thread of its own; the run must not
  // notice it.
  if (every_adapter) {
    const Figures unwatched = MeasureRun(ExchangeStyle::UntilReply, 0, false, trace);
    PrintRow("UART", "no watch", unwatched);
    flash_right = flash_right && unwatched.completed && unwatched.flash.empty();
  }
  std::printf("\nratio: the whole write button against its bound; blocks: first erase to last commit.\n"
              "goal: every ratio of the exchange that ends with its reply at most %.2f: %s; load average %s\n",
              kGoal, goal_met ? "met" : "NOT met", LoadAverage().c_str());
  return flash_right ? 0 : 1;
}
