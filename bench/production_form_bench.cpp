// The production window's line against one device and against eight, in one run: the
// production form's logic, with a view that shows nothing, starts its ports on simulated
// devices (one zorvan-sim process, each device on its own thread, as separate fixtures
// would serve them) and programs the carried firmware into each, every port on a thread of
// its own. Reported: the wall time until every device has passed, eight against one (the
// goal is at most 1.10), and whether the GUI thread stayed free meanwhile (the longest any
// of its calls into the form took).
//
// zorvan-production-bench [SIMULATOR OPTION...]: the simulator's options instead of
// --realistic (128 KiB devices at 115200 bit/s with a real device's latencies).

#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/desktop.h"
#include "app/production_form.h"
#include "firmware/embedded_firmware.h"
#include "firmware/hex_text.h"
#include "protocol/headless_surface.h"
#include "serial/bcport.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace zorvan;
using namespace zorvan::app;

std::string ProgramDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

// The production window with nothing on a screen: it counts the bells (one per pass) and
// hands the ports' wakes to the bench's GUI thread.
class HeadlessLineView final : public ProductionFormView {
 public:
  void ShowWindow() override {}
  void HideWindow() override {}
  void BringToFront() override {}
  void FadeIn(int) override {}
  void FadeOut(int) override {}
  void CancelFade() override {}
  void SetCaption(const std::string&) override {}
  void SetHeader(const std::string&) override {}
  void SetPortChoices(const std::vector<PortChoice>&) override {}
  void SetRowCount(int) override {}
  void ShowRow(int, const RowLook&) override {}
  void SetLineButtons(bool, bool) override {}
  void SetTotals(const std::string& totals) override { totals_ = totals; }
  void SetRecordFile(const std::string&) override {}
  void AddLogLine(const std::string& line) override { std::fprintf(stderr, "  %s\n", line.c_str()); }
  void Ring(int times) override { (times == 1 ? passes : others)++; }
  void Wake() override {
    std::lock_guard lock(mutex_);
    woken_ = true;
    changed_.notify_one();
  }

  // Waits up to `limit` for a wake.
  void AwaitWake(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, limit, [this] { return woken_; });
    woken_ = false;
  }

  const std::string& Totals() const { return totals_; }
  int passes = 0;
  int others = 0;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool woken_ = false;
  std::string totals_;
};

// The desktop of a station without a screen: the system's ports, no boxes.
class HeadlessDesktop final : public Desktop {
 public:
  void ShowMessage(const std::string& text) override { std::fprintf(stderr, "message: %s\n", text.c_str()); }
  void ShowException(const std::string& text) override { std::fprintf(stderr, "error: %s\n", text.c_str()); }
  bool AskYesNo(const std::string&) override { return false; }
  void MessageBeep(unsigned) override {}
  void Beep(unsigned, unsigned) override {}
  void Sleep(unsigned milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
  std::string TimeOfDay() const override { return HeadlessSurface(std::cerr).TimeOfDay(); }
  std::string ChooseFileToOpen(WindowView&, const std::string&, const std::string&) override { return {}; }
  std::string ChooseFileToSave(WindowView&, const std::string&, const std::string&) override { return {}; }
  void OpenAddress(WindowView&, const std::string&) override {}
  void OpenDeviceManager(WindowView&) override {}
  std::vector<std::string> ListSerialPorts() override { return {}; }
  std::vector<SerialPortInfo> ListSerialPortDetails() override { return {}; }
  bool PortPresent(const std::string& port) override { return zorvan::PortPresent(port); }
};

class Simulator {
 public:
  Simulator(int count, const std::vector<std::string>& options, const std::string& out_path) {
    std::vector<std::string> text = {ProgramDir() + "/zorvan-sim", "--count", std::to_string(count)};
    text.insert(text.end(), options.begin(), options.end());
    text.insert(text.end(), {"--verify", "-"});
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      std::vector<char*> argv;
      for (std::string& a : text) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  // Ends the devices; true when every device's flash holds the firmware.
  bool End() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }

 private:
  pid_t pid_ = -1;
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct Measured {
  bool ok = false;
  double wall_s = 0;        // until every device passed
  double longest_call_ms = 0;  // of the GUI thread's calls into the form
  const char* longest_call = "";
};

Measured Measure(int count, const std::vector<std::string>& options, const std::string& dir,
                 const ProductionFirmware& firmware) {
  Measured m;
  const std::string sim_out = dir + "/sim-" + std::to_string(count);
  Simulator sim(count, options, sim_out);
  std::vector<std::string> ports;
  for (int i = 0; i < 400 && static_cast<int>(ports.size()) < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ports = Lines(sim_out);
  }
  if (static_cast<int>(ports.size()) < count) return m;
  ports.resize(static_cast<size_t>(count));

  HeadlessLineView view;
  HeadlessDesktop desktop;
  TProductionForm form(view, desktop, ports);
  const auto timed = [&m](const char* name, const auto& call) {
    const auto began = Clock::now();
    call();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - began).count();
    if (ms <= m.longest_call_ms) return;
    m.longest_call_ms = ms;
    m.longest_call = name;
  };
  // The main window hands the form a copy of its image; the copy is the main window's.
  ProductionFirmware copy = firmware;
  const auto began = Clock::now();
  timed("Open", [&] { form.Open(std::move(copy), ports, true); });
  auto next_tick = Clock::now();
  const auto give_up = began + std::chrono::minutes(10);
  while (view.passes + view.others < count && Clock::now() < give_up) {
    view.AwaitWake(std::chrono::milliseconds(200));
    timed("DeliverEvents", [&] { form.DeliverEvents(); });
    if (Clock::now() >= next_tick) {
      timed("Tick", [&] { form.Tick(); });
      next_tick += std::chrono::seconds(1);
    }
  }
  m.wall_s = std::chrono::duration<double>(Clock::now() - began).count();
  timed("StopAllClick", [&] { form.StopAllClick(); });
  while (form.Running()) {
    view.AwaitWake(std::chrono::milliseconds(200));
    timed("DeliverEvents", [&] { form.DeliverEvents(); });
  }
  std::fprintf(stderr, "  %s\n", view.Totals().c_str());
  const bool flashes_hold = sim.End();
  m.ok = view.passes == count && flashes_hold;
  return m;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> options(argv + 1, argv + argc);
  if (options.empty()) options = {"--realistic"};
  char pattern[] = "/tmp/zorvan-production-bench-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  constexpr int kLine = 8;

  ProductionFirmware firmware;
  HexText text{std::string(EmbeddedFirmware)};
  HeadlessSurface quiet(std::cerr);
  if (!PrepareImage(quiet, text, firmware.image)) return 1;
  firmware.name = std::string(BuiltInVersion);

  std::printf("production window: the carried firmware into simulated devices (zorvan-sim");
  for (const std::string& option : options) std::printf(" %s", option.c_str());
  std::printf("), every port on a thread of its own; %u cores\n", std::thread::hardware_concurrency());
  const Measured one = Measure(1, options, dir, firmware);
  const Measured line = Measure(kLine, options, dir, firmware);
  std::printf("  one port       %7.1f s until its device passed\n", one.wall_s);
  std::printf("  %d ports        %7.1f s until every device passed\n", kLine, line.wall_s);
  std::printf("  eight ports / one port: %.3f (goal at most 1.10)\n", line.wall_s / one.wall_s);
  const Measured& slower = one.longest_call_ms > line.longest_call_ms ? one : line;
  std::printf("  the GUI thread's longest call into the form: %.1f ms, %s (goal under 300)\n", slower.longest_call_ms,
              slower.longest_call);
  if (!one.ok || !line.ok) {
    std::printf("  not every device was programmed and verified: see %s\n", dir.c_str());
    return 1;
  }
  std::filesystem::remove_all(dir);
  return 0;
}
