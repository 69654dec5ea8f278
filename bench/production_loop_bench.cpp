// The production loop on a bench whose adapter stays, timed as a line's throughput is:
// zorvan-flash write --loop against zorvan-sim's fresh devices that take one port in turn,
// each swapped for the next 1 s after its final reset, as an operator on a fixture with
// pogo pins does.
// - A soak: at least 30 devices through one loop, with no silence between them. At every
//   device the loop's memory (resident set), descriptors and threads are read from /proc,
//   so that a leak shows as a slope; and the time per device in the first and the second
//   half.
// - How soon a device is found: from its arrival (zorvan-sim's note) until its run begins
//   (the loop's --verbose line "programming the device"), the median of every device but
//   the first; with no silence (the device is found at the next look at the one before),
//   with 3 s of empty port, and with 6 s, after which the port has been seen empty. In
//   these two the devices are swapped a little later each, so that they come at every
//   moment of the loop's looks.
// - What a swap costs the line in all: from one run's end until the next run begins.
//   zorvan-loop-bench [DEVICES]   (the soak's count, at least 30; 32 unless told)

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/program_runner.h"

namespace {

using zorvan::testing::Locale;
using zorvan::testing::Program;
using zorvan::testing::SimProcess;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// What /proc tells of a process now.
struct Footprint {
  long rss_kib = 0;
  int threads = 0;
  int descriptors = 0;
};

Footprint FootprintOf(int pid) {
  Footprint f;
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) f.rss_kib = std::stol(line.substr(6));
    if (line.rfind("Threads:", 0) == 0) f.threads = std::stoi(line.substr(8));
  }
  std::error_code ignored;
  for (auto it = std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ignored);
       it != std::filesystem::directory_iterator(); ++it) {
    ++f.descriptors;
  }
  return f;
}

// The lines a growing text has gained since the last call, each with when it was seen.
class NewLines {
 public:
  std::vector<std::string> Take(const std::string& text) {
    std::vector<std::string> lines;
    size_t end;
    while ((end = text.find('\n', taken_)) != std::string::npos) {
      lines.push_back(text.substr(taken_, end - taken_));
      taken_ = end + 1;
    }
    return lines;
  }

 private:
  size_t taken_ = 0;
};

struct Device {
  Clock::time_point arrived{}, begun{}, ended{};
  Footprint after;
};

struct Bench {
  std::vector<Device> devices;
  double wall_s = 0;
  bool verified = false;
};

bool Contains(const std::string& line, const std::string& part) { return line.find(part) != std::string::npos; }

// Runs `count` fresh devices through one loop, `gap_ms` of empty port before each after
// the first. Each is swapped 1 s after its final reset, or, `spread`, a little later the
// further it comes in turn, so that the devices come at every moment of the loop's looks.
Bench Run(const std::string& dir, const std::string& hex, int count, int gap_ms, bool spread) {
  const std::string fixture = dir + "/fixture";
  const std::string record = dir + "/runs-" + std::to_string(gap_ms) + ".jsonl";
  std::vector<std::string> sim_args = {"--baud", "0", "--geometry", "4,16,2", "--verify", hex, "--link", fixture,
                                      "--leave-after", "1000", "--gap", std::to_string(gap_ms)};
  if (spread) {
    sim_args.insert(sim_args.end(), {"--count", std::to_string(count + 1), "--in-turn"});
    for (int k = 1; k <= count; ++k) {
      sim_args.insert(sim_args.end(), {"--device", std::to_string(k), "--leave-after", std::to_string(1000 + 137 * k)});
    }
  }
  SimProcess sim(sim_args);
  const Clock::time_point began = Clock::now();
  // Its result lines are read in English.
  Program flash("zorvan-flash", {"write", "--loop", "--verbose", "--hex", hex, "--record", record, "--port", fixture},
                Locale::English);
  Bench bench;
  bench.devices.resize(1);
  bench.devices[0].arrived = began;
  NewLines sim_notes, loop_lines;
  size_t begun = 0, ended = 0;
  const Clock::time_point limit = began + std::chrono::seconds(60 + 30 * count);
  while (ended < static_cast<size_t>(count) && Clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const Clock::time_point now = Clock::now();
    for (const std::string& line : sim_notes.Take(sim.ErrorsSoFar())) {
      if (Contains(line, " came on ")) bench.devices.emplace_back().arrived = now;
    }
    for (const std::string& line : loop_lines.Take(flash.OutputSoFar())) {
      if (Contains(line, ": programming the device") && begun < bench.devices.size()) bench.devices[begun++].begun = now;
      if ((Contains(line, ": passed ") || Contains(line, ": FAILED ") || Contains(line, ": refused ")) &&
          ended < bench.devices.size()) {
        bench.devices[ended].ended = now;
        bench.devices[ended++].after = FootprintOf(flash.Pid());
      }
    }
  }
  bench.wall_s = Seconds(Clock::now() - began);
  bench.devices.resize(ended);
  flash.Signal(SIGINT);
  const auto loop = flash.Finish();
  const auto devices = sim.Stop();
  size_t held = 0;
  for (size_t at = devices.out.find("the flash holds "); at != std::string::npos;
       at = devices.out.find("the flash holds ", at + 1)) {
    ++held;
  }
  bench.verified = loop.status == 0 && devices.status == 0 && held == ended && ended == static_cast<size_t>(count);
  if (!bench.verified) std::printf("  the loop or the devices ended badly:\n%s\n%s\n", loop.out.c_str(), devices.out.c_str());
  return bench;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void ReportFinding(const char* what, const Bench& bench) {
  std::vector<double> found, swaps;
  for (size_t i = 1; i < bench.devices.size(); ++i) {
    found.push_back(Seconds(bench.devices[i].begun - bench.devices[i].arrived));
    swaps.push_back(Seconds(bench.devices[i].begun - bench.devices[i - 1].ended));
  }
  std::printf("  %-34s arrival to run begun: median %.2f s, longest %.2f s; a swap costs the line %.2f s "
              "(run's end to the next run's beginning, median)\n    each:",
              what, Median(found), found.empty() ? 0 : *std::max_element(found.begin(), found.end()), Median(swaps));
  for (double seconds : found) std::printf(" %.2f", seconds);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const int soak = std::max(30, argc > 1 ? std::atoi(argv[1]) : 32);
  // The programs beside this one, as the tests' runner finds them.
  setenv("ZORVAN_BUILD_DIR", std::filesystem::read_symlink("/proc/self/exe").parent_path().c_str(), 1);
  char pattern[] = "/tmp/zorvan-loop-bench-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string hex = zorvan::testing::WriteHexFile(dir + "/fw.hex", 128);
  std::printf("the production loop on a fixture whose adapter stays: fresh devices of 128 bytes, no pacing,\n"
              "each swapped for the next 1 s after its final reset; %u cores\n",
              std::thread::hardware_concurrency());

  const Bench soaked = Run(dir, hex, soak, 0, false);
  std::printf("  soak, %zu devices through one loop, no silence between them:\n", soaked.devices.size());
  std::printf("    device   resident KiB  descriptors  threads  run s  idle before it s\n");
  for (size_t i = 0; i < soaked.devices.size(); ++i) {
    const Device& d = soaked.devices[i];
    if (i >= 3 && i + 3 < soaked.devices.size() && i % 5 != 0) continue;
    std::printf("    %6zu   %12ld  %11d  %7d  %5.2f  %5.2f\n", i + 1, d.after.rss_kib, d.after.descriptors,
                d.after.threads, Seconds(d.ended - d.begun), i == 0 ? 0.0 : Seconds(d.begun - soaked.devices[i - 1].ended));
  }
  // From one device's end to the next one's: the line's pace once it runs.
  std::vector<double> paces;
  for (size_t i = 1; i < soaked.devices.size(); ++i) {
    paces.push_back(Seconds(soaked.devices[i].ended - soaked.devices[i - 1].ended));
  }
  if (paces.size() >= 2) {
    const auto half = paces.begin() + static_cast<std::ptrdiff_t>(paces.size() / 2);
    const auto mean = [](auto from, auto to) { return std::accumulate(from, to, 0.0) / static_cast<double>(to - from); };
    std::printf("    time per device: %.2f s in the first half, %.2f s in the second\n", mean(paces.begin(), half),
                mean(half, paces.end()));
  }
  ReportFinding("no silence between devices:", soaked);
  const Bench three = Run(dir, hex, 8, 3000, true);
  ReportFinding("3 s of empty port between them:", three);
  const Bench six = Run(dir, hex, 8, 6000, true);
  ReportFinding("6 s: the port seen empty first:", six);
  const bool ok = soaked.verified && three.verified && six.verified;
  if (!ok) {
    std::printf("  not every device was programmed and verified: see %s\n", dir.c_str());
    return 1;
  }
  std::printf("  every device programmed once, recorded, and verified byte for byte\n");
  std::filesystem::remove_all(dir);
  return 0;
}
