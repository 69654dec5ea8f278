#pragma once
// The console of a gang run or of a production loop. On a terminal each port has a line
// at the bottom that is redrawn in place (its progress, then its result), below them may
// stand a line of totals, and everything printed goes above those lines, prefixed with
// its port; off a terminal only the prefixed lines are printed. Every line is written
// whole, so the runs' lines never mix.

#include <chrono>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/progress_view.h"
#include "cli/write_run.h"

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
  // The line below the ports' lines, redrawn in place as they are; none until set.
  void SetFooter(const std::string& text);
  // Prints lines without a port in front.
  void Note(const std::string& text);
  // Rings the terminal's bell (on a terminal only).
  void Ring();
  bool Terminal() const { return terminal_; }
  // Draws the devices' lines a last time; what is printed next goes below them.
  void Finish();

 private:
  class RowView;
  void PrintLocked(const std::string& prefix, const std::string& text, bool error);
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
  std::string footer_;
  size_t drawn_lines_ = 0;  // the lines drawn in place the last time
  bool drawn_ = false;
  bool finished_ = false;
  std::chrono::steady_clock::time_point last_draw_;
};

// The table that ends a gang run: port, the device's description before the run, the
// result, the time taken and the exit status of each device.
std::string SummaryTable(const std::vector<std::string>& ports, const std::vector<WriteOutcome>& outcomes);

}  // namespace zorvan::cli
