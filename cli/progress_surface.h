#pragma once
// The command line's surface for the loader procedures: while blocks are written the
// main gauge becomes a progress line (bytes written, throughput, time left and the
// calibration counters), redrawn in place on a terminal or printed at every tenth
// otherwise; messages are printed, and --verbose adds the memo's log lines. Ctrl+C asks
// for the operator's stop, the window's Ctrl+Delete, once it can act.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "common/display_text.h"
#include "protocol/flasher_state.h"
#include "protocol/writing_reach.h"
#include "cli/console_surface.h"
#include "cli/progress_view.h"

namespace zorvan::cli {

// How much a run prints: Quiet leaves out the progress line, Verbose adds every
// attempt and every status.
enum class Verbosity { Quiet, Normal, Verbose };

// How far the writing of a run got.
using WritingProgress = WritingReach;

// What the progress line shows while blocks are written.
struct ProgressFigures {
  int64_t percent = 0;
  int64_t bytes_done = 0;
  int64_t bytes_total = 0;
  double seconds = 0;  // since the writing began
  std::string calibration;
};

// "[#####...]  42%  55296/131072 bytes  5.2 KiB/s  0:14 left  Calibration: 0.0.0" in
// the screen's language; throughput and time left appear once something has been
// written.
std::string ProgressLine(const ProgressFigures& figures);

class ProgressSurface : public ConsoleSurface {
 public:
  // `state` gives the device's geometry for the byte counts and takes the stop request.
  ProgressSurface(ProgressView& view, FlasherState& state, Verbosity verbosity);
  ~ProgressSurface() override;

  void SetGaugeMax(int64_t max) override;
  void SetGaugeProgress(int64_t progress) override;
  void SetChunkBarPosition(int position) override;
  void SetStatus(const std::string& text) override;
  void SetCalibration(const std::string& text) override;
  void SetMemoText(const std::string& text) override;
  void AddMemoLine(const std::string& line) override;
  void ShowMessage(const std::string& text) override;
  // Runs the stop command once Ctrl+C was pressed, as soon as it can act. A run that
  // has erased nothing yet is ended at once: RunInterrupted is thrown.
  void ProcessMessages() override;

  // An error that ended the run (a port error, a description that is no number): the
  // system's own text, which Shown() keeps, and the text the screen shows for it.
  void ShowError(const std::string& system_text, const std::string& screen_text);
  // Ends the progress line, so that what is printed next starts on a line of its own.
  void FinishBar();

  // The system's messages and errors shown, in order, as the system gave them.
  const std::vector<std::string>& Shown() const { return shown_; }
  WritingProgress Progress() const { return writing_.Reach(); }
  // The device's description as identification put it into the memo, before any log line.
  const std::string& Description() const { return description_; }

 private:
  ProgressFigures Figures() const;
  void Redraw(bool force);

  ProgressView& view_;
  FlasherState& state_;
  Verbosity verbosity_;
  WritingTracker writing_;
  bool stop_given_ = false;
  bool stop_deferred_noted_ = false;
  int64_t last_tenth_ = -1;
  std::chrono::steady_clock::time_point writing_since_;
  std::chrono::steady_clock::time_point last_draw_;
  bool drawn_ = false;
  std::vector<std::string> shown_;
  std::string description_;
};

}  // namespace zorvan::cli
