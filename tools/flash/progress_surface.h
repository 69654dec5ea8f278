#pragma once
// The command line's surface for the loader procedures: the main gauge becomes a
// progress bar on a terminal (with bytes written, throughput, time left and the
// calibration counters while blocks are written), or a line every tenth when the
// output is not a terminal; --verbose adds the memo's log lines. Ctrl+C during the
// writing of blocks asks for the operator's stop, the window's Ctrl+Delete.

#include <chrono>
#include <cstdint>
#include <string>

#include "protocol/flasher_state.h"
#include "tools/flash/console_surface.h"

namespace zorvan::cli {

// What the progress line shows while blocks are written.
struct ProgressFigures {
  int64_t percent = 0;
  int64_t bytes_done = 0;
  int64_t bytes_total = 0;
  double seconds = 0;  // since the writing began
  std::string calibration;
};

// "[#####...]  42%  55296/131072 bytes  5.2 KiB/s  0:14 left  Автокалібровка: 0.0.0";
// throughput and time left appear once something has been written.
std::string ProgressLine(const ProgressFigures& figures);

class ProgressSurface : public ConsoleSurface {
 public:
  // `state` gives the device's geometry for the byte counts and takes the stop request.
  ProgressSurface(std::ostream& out, FlasherState& state, bool terminal, bool verbose);
  ~ProgressSurface() override;

  void SetGaugeMax(int64_t max) override;
  void SetGaugeProgress(int64_t progress) override;
  void SetChunkBarPosition(int position) override;
  void SetStatus(const std::string& text) override;
  void SetCalibration(const std::string& text) override;
  void AddMemoLine(const std::string& line) override;
  void ShowMessage(const std::string& text) override;
  // Runs the stop command once Ctrl+C was pressed, as soon as it can act.
  void ProcessMessages() override;

  // Routes Ctrl+C to this surface for its lifetime. Before blocks are written nothing
  // has been erased, so Ctrl+C then ends the program at once, as does a second Ctrl+C.
  void CatchInterrupt();

  // Ends the progress bar's line, so that what is printed next starts on a line of its own.
  void FinishBar();

 private:
  ProgressFigures Figures() const;
  void Redraw(bool force);
  void ClearBar();

  FlasherState& state_;
  bool terminal_;
  bool verbose_;
  bool writing_ = false;  // blocks are being erased and written
  bool bar_shown_ = false;
  bool stop_given_ = false;
  bool stop_deferred_noted_ = false;
  int chunks_in_progress_ = 0;  // chunks written in the block under way
  int64_t last_tenth_ = -1;
  std::chrono::steady_clock::time_point writing_since_;
  std::chrono::steady_clock::time_point last_draw_;
};

}  // namespace zorvan::cli
