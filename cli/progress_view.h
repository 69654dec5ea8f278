#pragma once
// Where one run's progress line and printed lines appear: a console of its own (one
// run), or one line of a gang's board.

#include <iosfwd>
#include <string>

namespace zorvan::cli {

class ProgressView {
 public:
  virtual ~ProgressView() = default;

  // Whether the progress line is redrawn in place (a terminal) rather than printed as
  // lines of their own.
  virtual bool RedrawsInPlace() const = 0;
  // Replaces the line drawn in place.
  virtual void DrawInPlace(const std::string& line) = 0;
  // The line drawn in place stays as it stands; what is printed next goes below it.
  virtual void KeepInPlace() = 0;
  // Lines (separated by LF) for the operator, or for the error output; the line drawn
  // in place makes way for them.
  virtual void Print(const std::string& text, bool error = false) = 0;
};

// The console of a single run: the progress line at the start of the terminal's last
// line, messages on the standard output and errors on the error output.
class ConsoleProgressView : public ProgressView {
 public:
  ConsoleProgressView(std::ostream& out, std::ostream& err, bool terminal)
      : out_(out), err_(err), terminal_(terminal) {}
  ~ConsoleProgressView() override { KeepInPlace(); }

  bool RedrawsInPlace() const override { return terminal_; }
  void DrawInPlace(const std::string& line) override;
  void KeepInPlace() override;
  void Print(const std::string& text, bool error = false) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool terminal_;
  bool shown_ = false;  // the progress line stands on the terminal's last line
};

}  // namespace zorvan::cli
