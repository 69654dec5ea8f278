#include "cli/production_loop.h"

#include <unistd.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "common/errors.h"
#include "protocol/port_station.h"
#include "serial/bcport.h"
#include "cli/console_text.h"
#include "cli/exit_codes.h"
#include "cli/gang_board.h"
#include "cli/interrupt.h"
#include "cli/port_errors.h"
#include "cli/system_texts.h"
#include "cli/text_table.h"
#include "cli/texts.h"
#include "cli/write_run.h"

namespace zorvan::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kWaitSlice = std::chrono::milliseconds(50);
constexpr auto kBellPause = std::chrono::milliseconds(300);

// "passed", "refused" or "FAILED", as wide as the widest of them, so that the result
// lines' columns stand one under another.
std::string ResultWord(DeviceResult result) {
  const Msg word = result == DeviceResult::Passed ? Msg::ResultPassed
                   : result == DeviceResult::Refused ? Msg::ResultRefused
                                                     : Msg::ResultFailed;
  size_t width = 0;
  for (Msg m : {Msg::ResultPassed, Msg::ResultRefused, Msg::ResultFailed}) width = std::max(width, TextColumns(Say(m)));
  return PadTo(Say(word), width);
}

std::string PhaseText(CyclePhase phase, const std::string& detail) {
  switch (phase) {
    case CyclePhase::WaitingForDevice: return Say(Msg::PhaseWaiting);
    case CyclePhase::Programming: return Say(Msg::PhaseProgramming, {OneLine(CommandLineText(detail))});
    case CyclePhase::Passed: return Say(Msg::PhasePassed);
    case CyclePhase::Failed: return Say(Msg::PhaseFailed);
    case CyclePhase::Refused: return Say(Msg::PhaseRefused);
    case CyclePhase::AlreadyProgrammed: return Say(Msg::PhaseAlreadyProgrammed);
    case CyclePhase::PortMissing: return Say(Msg::PhasePortMissing);
    case CyclePhase::PortError: return Say(Msg::PhasePortError, {OneLine(CommandLineText(detail))});
  }
  return {};
}

// Every port's tally, added up for the line below the ports' lines.
class LoopTotals {
 public:
  explicit LoopTotals(size_t ports) : tallies_(ports) {}

  CycleTally Take(size_t index, const CycleTally& tally) {
    std::lock_guard lock(mutex_);
    tallies_[index] = tally;
    return SumLocked();
  }
  CycleTally Sum() {
    std::lock_guard lock(mutex_);
    return SumLocked();
  }

 private:
  CycleTally SumLocked() const {
    CycleTally sum;
    for (const CycleTally& tally : tallies_) sum += tally;
    return sum;
  }

  std::mutex mutex_;
  std::vector<CycleTally> tallies_;
};

// What the ports' stations share.
struct LoopContext {
  const DeviceOptions& options;
  const ImageState& image;
  const std::string& hex_file_name;
  RunRecorder* recorder;
  GangBoard& board;
  LoopTotals& totals;
  std::atomic<bool>& unrecorded;
};

// A run's view on the loop's board: its progress line is the port's line, and what it
// prints is left out (the result line tells how it ended) unless --verbose asks for all.
class LoopRowView : public ProgressView {
 public:
  LoopRowView(ProgressView& row, bool verbose) : row_(row), verbose_(verbose) {}
  bool RedrawsInPlace() const override { return row_.RedrawsInPlace(); }
  void DrawInPlace(const std::string& line) override { row_.DrawInPlace(line); }
  void KeepInPlace() override {}
  void Print(const std::string& text, bool error) override {
    if (verbose_) row_.Print(text, error);
  }

 private:
  ProgressView& row_;
  bool verbose_;
};

// A port of the loop: its own port object, and the flasher its looks are made with.
struct LoopPort {
  LoopPort(const LoopContext& loop, size_t index)
      : session(loop.options.ports[index], loop.options.baud_rate_index), looking(std::cerr),
        flasher(session.FlasherOn(looking, loop.image)) {}

  DeviceSession session;
  ConsoleSurface looking;
  Flasher flasher;
};

// One port of the loop, looking and programming on its own port object.
class ConsoleStation : private LoopPort, public PortStation {
 public:
  ConsoleStation(LoopContext& loop, size_t index)
      : LoopPort(loop, index), PortStation(LoopPort::flasher), loop_(loop), index_(index),
        port_(loop.options.ports[index]), view_(loop.board.Row(index), loop.options.verbose) {}

  bool PortPresent() override { return zorvan::PortPresent(port_); }

  DeviceRun Program() override {
    const WriteOutcome outcome = WriteOnPort(session, loop_.options, loop_.image, loop_.hex_file_name, view_);
    Record(outcome);
    const DeviceResult result = outcome.device;
    if (result == DeviceResult::Gone) return {result, outcome.seconds};
    loop_.board.Print(index_,
                      ResultWord(result) + "  " + DurationText(outcome.seconds) + "  " + OneLine(outcome.description) +
                          "  " + CommandLineText(outcome.result) + "  " +
                          Say(Msg::ExitStatusTail, {std::to_string(outcome.exit_status)}),
                      false);
    Ring(result);
    return {result, outcome.seconds};
  }

  void Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) override {
    const std::string text = PhaseText(phase, detail);
    loop_.board.SetLine(index_, text, true);
    loop_.board.SetFooter(TallyLine(loop_.totals.Take(index_, tally)));
    // Off a terminal the ports' lines are not drawn: a port that cannot be used says so
    // once, or the operator would wait for nothing; --verbose tells every change.
    const bool port_trouble = phase == CyclePhase::PortMissing || phase == CyclePhase::PortError;
    if (!loop_.board.Terminal() && port_trouble && text != last_note_) loop_.board.Print(index_, text, true);
    if (!loop_.board.Terminal() && !port_trouble && loop_.options.verbose) loop_.board.Print(index_, text, false);
    last_note_ = port_trouble ? text : std::string();
    if (phase == CyclePhase::PortError) {
      const std::string hint = PortHint(port_);
      if (!hint.empty() && hint != last_hint_) loop_.board.Print(index_, hint, true);
      last_hint_ = hint;
    }
  }

  bool Wait(unsigned milliseconds) override {
    const auto until = Clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = Clock::now(); now < until; now = Clock::now()) {
      if (LoopEndRequested()) return false;
      std::this_thread::sleep_for(std::min<Clock::duration>(kWaitSlice, until - now));
    }
    return !LoopEndRequested();
  }

  bool EndRequested() override { return LoopEndRequested(); }

 private:
  void Record(const WriteOutcome& outcome) {
    if (!loop_.recorder) return;
    try {
      RecordRun(*loop_.recorder, port_, outcome);
    } catch (const Exception& e) {
      // A device programmed but not recorded is lost to the bench's records: the loop stops.
      loop_.board.Print(index_, e.Message(), true);
      loop_.unrecorded = true;
      EndLoop();
    }
  }

  // Once for a pass, twice for a refusal, three times for a failure, apart enough to be
  // counted.
  void Ring(DeviceResult result) {
    const int rings = result == DeviceResult::Passed ? 1 : result == DeviceResult::Refused ? 2 : 3;
    for (int i = 0; i < rings; ++i) {
      if (i > 0) std::this_thread::sleep_for(kBellPause);
      loop_.board.Ring();
    }
  }

  LoopContext& loop_;
  const size_t index_;
  const std::string port_;
  LoopRowView view_;
  std::string last_note_;
  std::string last_hint_;
};

}  // namespace

std::string TallyLine(const CycleTally& tally) {
  std::string line =
      Say(Msg::Tally, {std::to_string(tally.passed), std::to_string(tally.failed), std::to_string(tally.refused)});
  if (tally.Devices() > 0) line += "  " + Say(Msg::PerDevice, {DurationText(tally.SecondsPerDevice())});
  return line;
}

int RunLoop(const DeviceOptions& options, const ImageState& image, const std::string& hex_file_name,
            RunRecorder* recorder) {
  LoopBegins();
  LoopTotals totals(options.ports.size());
  std::atomic<bool> unrecorded{false};
  {
    GangBoard board(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0 && !options.quiet, options.ports,
                    ConsoleColumns());
    LoopContext loop{options, image, hex_file_name, recorder, board, totals, unrecorded};
    std::vector<std::unique_ptr<ConsoleStation>> stations;
    for (size_t i = 0; i < options.ports.size(); ++i) stations.push_back(std::make_unique<ConsoleStation>(loop, i));
    std::vector<std::thread> cycles;
    std::atomic<size_t> running{stations.size()};
    for (auto& station : stations) {
      // Each port waits, looks and programs on its own, as separate benches would.
      cycles.emplace_back([&station, &running] {
        ProductionCycle(*station).Run();
        --running;
      });
    }
    // Ctrl+C is answered at once, though the runs in progress may take a while yet.
    for (bool noted = false; running > 0; std::this_thread::sleep_for(kWaitSlice)) {
      if (noted || !LoopEndRequested()) continue;
      noted = true;
      board.Note(Say(Msg::LoopEnding));
    }
    for (std::thread& cycle : cycles) cycle.join();
  }
  const CycleTally sum = totals.Sum();
  std::cout << Say(Msg::LoopEnded, {TallyLine(sum)}) << "\n" << std::flush;
  if (sum.failed > 0) return kExitLoopFailures;
  return unrecorded ? kExitRecordFailed : kExitOk;
}

}  // namespace zorvan::cli
