#include "cli/production_loop.h"

#include <unistd.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "common/errors.h"
#include "protocol/line_port.h"
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

// What the ports share.
struct LoopContext {
  const DeviceOptions& options;
  const ImageState& image;
  const std::string& hex_file_name;
  RunRecorder* recorder;
  GangBoard& board;
  LoopTotals& totals;
  std::atomic<bool>& unrecorded;
  std::atomic<size_t>& running;  // ports whose cycle has not ended
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

// A port's runs as the command line makes them, on the port's own port object: the
// write command's procedure, its progress on the port's line. Made on the port's thread.
class ConsoleRunner final : public LineRunner {
 public:
  ConsoleRunner(const LoopContext& loop, size_t index, WriteOutcome& last)
      : loop_(loop), session_(loop.options.ports[index], loop.options.baud_rate_index), looking_(std::cerr),
        flasher_(session_.FlasherOn(looking_, loop.image)), view_(loop.board.Row(index), loop.options.verbose),
        last_(last) {}

  Flasher& Looking() override { return flasher_; }

  // Ctrl+C is the stop here: the run's progress surface gives it itself.
  LineRun Program(LinePortObserver&, const std::atomic<bool>&) override {
    last_ = WriteOnPort(session_, loop_.options, loop_.image, loop_.hex_file_name, view_);
    LineRun run;
    run.began = last_.began;
    run.seconds = last_.seconds;
    run.result = last_.device;
    if (last_.exit_status == kExitStopped) run.ending = RunEnding::Stopped;
    run.message = last_.result;
    run.description = last_.description;
    run.loader_version = last_.loader_version;
    run.calibration = last_.calibration;
    run.reach = last_.progress;
    return run;
  }

 private:
  const LoopContext& loop_;
  DeviceSession session_;
  ConsoleSurface looking_;
  Flasher flasher_;
  LoopRowView view_;
  WriteOutcome& last_;
};

// One port of the loop on the board: where its cycle stands, each device's result line
// and bell, and its record.
class ConsolePort final : public LinePortObserver {
 public:
  ConsolePort(LoopContext& loop, size_t index) : loop_(loop), index_(index), port_(loop.options.ports[index]) {}

  std::unique_ptr<LineRunner> MakeRunner() { return std::make_unique<ConsoleRunner>(loop_, index_, last_); }

  void PhaseShown(CyclePhase phase, const CycleTally& tally, const std::string& detail) override {
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

  void RunPercent(int) override {}

  bool DeviceDone(const LineRun&) override {
    const WriteOutcome& outcome = last_;
    const bool recorded = Record(outcome);
    const DeviceResult result = outcome.device;
    if (result == DeviceResult::Gone) return recorded;
    loop_.board.Print(index_,
                      ResultWord(result) + "  " + DurationText(outcome.seconds) + "  " + OneLine(outcome.description) +
                          "  " + CommandLineText(outcome.result) + "  " +
                          Say(Msg::ExitStatusTail, {std::to_string(outcome.exit_status)}),
                      false);
    Ring(result);
    return recorded;
  }

  void PortEnded(const CycleTally&) override { --loop_.running; }

 private:
  bool Record(const WriteOutcome& outcome) {
    if (!loop_.recorder) return true;
    try {
      RecordRun(*loop_.recorder, port_, outcome);
      return true;
    } catch (const Exception& e) {
      // A device programmed but not recorded is lost to the bench's records: the loop stops.
      loop_.board.Print(index_, e.Message(), true);
      loop_.unrecorded = true;
      EndLoop();
      return false;
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
  WriteOutcome last_;  // the port's last run, written by its runner on the same thread
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
    std::atomic<size_t> running{options.ports.size()};
    LoopContext loop{options, image, hex_file_name, recorder, board, totals, unrecorded, running};
    std::vector<std::unique_ptr<ConsolePort>> ports;
    for (size_t i = 0; i < options.ports.size(); ++i) ports.push_back(std::make_unique<ConsolePort>(loop, i));
    // Each port waits, looks and programs on its own thread, as separate benches would.
    std::vector<std::unique_ptr<LinePortControl>> lines;
    for (size_t i = 0; i < ports.size(); ++i) {
      ConsolePort& port = *ports[i];
      lines.push_back(StartLinePort(
          {options.ports[i], options.baud_rate_index, nullptr, [&port] { return port.MakeRunner(); }}, port));
    }
    // Ctrl+C is answered at once, though the runs in progress may take a while yet.
    for (bool noted = false; running > 0; std::this_thread::sleep_for(kWaitSlice)) {
      if (noted || !LoopEndRequested()) continue;
      noted = true;
      board.Note(Say(Msg::LoopEnding));
      for (auto& line : lines) line->End();
    }
    lines.clear();
  }
  const CycleTally sum = totals.Sum();
  std::cout << Say(Msg::LoopEnded, {TallyLine(sum)}) << "\n" << std::flush;
  if (sum.failed > 0) return kExitLoopFailures;
  return unrecorded ? kExitRecordFailed : kExitOk;
}

}  // namespace zorvan::cli
