#pragma once
// The console of a gang run. On a terminal each device has a line at the bottom that is
// redrawn in place (its progress, then its result), and everything printed goes above
// those lines, prefixed with its port; off a terminal only the prefixed lines are
// printed. Every line is written whole, so the runs' lines never mix.

#include <chrono>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/flash/progress_view.h"
#include "tools/flash/write_run.h"

namespace zorvan::cli {

class GangBoard {
 public:
  // `columns`: the terminal's width, 0 when unknown. A line longer than that is cut, as
  // one that wrapped would spoil redrawing in place.
  GangBoard(std::ostream& out, std::ostream& err, bool terminal, std::vector<std::string> ports, size_t columns);
  ~GangBoard();

  // The view of the run on the port at `index`.
  ProgressView& Row(size_t index);
  // Replaces the device's line; drawn now when `now`, else within a tenth of a second.
  void SetLine(size_t index, const std::string& text, bool now);
  // Prints lines (separated by LF) prefixed with the device's port.
  void Print(size_t index, const std::string& text, bool error);
  // Draws the devices' lines a last time; what is printed next goes below them.
  void Finish();

 private:
  class RowView;
  void DrawLocked(bool now);
  void EraseLocked();
  std::string Fit(std::string text) const;

  std::ostream& out_;
  std::ostream& err_;
  const bool terminal_;
  const std::vector<std::string> ports_;
  const size_t columns_;
  size_t port_width_ = 0;
  std::vector<std::unique_ptr<RowView>> rows_;

  std::mutex mutex_;
  std::vector<std::string> lines_;
  bool drawn_ = false;
  bool finished_ = false;
  std::chrono::steady_clock::time_point last_draw_;
};

// The table that ends a gang run: port, the device's description before the run, the
// result, the time taken and the exit status of each device.
std::string SummaryTable(const std::vector<std::string>& ports, const std::vector<WriteOutcome>& outcomes);

}  // namespace zorvan::cli
