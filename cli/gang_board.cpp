#include "cli/gang_board.h"

#include <algorithm>
#include <ostream>

#include "cli/progress_surface.h"
#include "cli/system_texts.h"
#include "cli/text_table.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

}  // namespace

class GangBoard::RowView : public ProgressView {
 public:
  RowView(GangBoard& board, size_t index) : board_(board), index_(index) {}
  bool RedrawsInPlace() const override { return board_.terminal_; }
  void DrawInPlace(const std::string& line) override { board_.SetLine(index_, line, false); }
  void KeepInPlace() override {}
  void Print(const std::string& text, bool error) override { board_.Print(index_, text, error); }

 private:
  GangBoard& board_;
  size_t index_;
};

GangBoard::GangBoard(std::ostream& out, std::ostream& err, bool terminal, std::vector<std::string> ports,
                     size_t columns)
    : out_(out), err_(err), terminal_(terminal), ports_(std::move(ports)), columns_(columns),
      lines_(ports_.size(), Say(Msg::IdentifyingDevice)) {
  for (const std::string& port : ports_) port_width_ = std::max(port_width_, TextColumns(port));
  for (size_t i = 0; i < ports_.size(); ++i) rows_.push_back(std::make_unique<RowView>(*this, i));
  std::lock_guard lock(mutex_);
  DrawLocked(true);
}

GangBoard::~GangBoard() { Finish(); }

ProgressView& GangBoard::Row(size_t index) { return *rows_[index]; }

void GangBoard::SetLine(size_t index, const std::string& text, bool now) {
  std::lock_guard lock(mutex_);
  lines_[index] = text;
  DrawLocked(now);
}

void GangBoard::Print(size_t index, const std::string& text, bool error) {
  std::lock_guard lock(mutex_);
  PrintLocked(ports_[index] + ": ", text, error);
}

void GangBoard::Note(const std::string& text) {
  std::lock_guard lock(mutex_);
  PrintLocked("", text, false);
}

void GangBoard::PrintLocked(const std::string& prefix, const std::string& text, bool error) {
  EraseLocked();
  std::ostream& stream = error ? err_ : out_;
  size_t start = 0;
  do {
    const size_t end = text.find('\n', start);
    stream << prefix << text.substr(start, end - start) << "\n";
    start = end == std::string::npos ? end : end + 1;
  } while (start != std::string::npos && start < text.size());
  stream.flush();
  DrawLocked(true);
}

void GangBoard::SetFooter(const std::string& text) {
  std::lock_guard lock(mutex_);
  footer_ = text;
  DrawLocked(true);
}

void GangBoard::Ring() {
  if (!terminal_) return;
  std::lock_guard lock(mutex_);
  out_ << '\a' << std::flush;
}

void GangBoard::Finish() {
  std::lock_guard lock(mutex_);
  if (finished_) return;
  DrawLocked(true);
  finished_ = true;
}

std::string GangBoard::Fit(std::string text) const {
  // The last column is left free: a terminal that wraps at it would move the cursor.
  if (columns_ == 0 || TextColumns(text) < columns_) return text;
  size_t kept = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (StartsCharacter(text[i]) && ++kept == columns_) return text.substr(0, i);
  }
  return text;
}

void GangBoard::DrawLocked(bool now) {
  if (!terminal_ || finished_) return;
  const auto time = std::chrono::steady_clock::now();
  if (!now && drawn_ && time - last_draw_ < kRedrawInterval) return;
  last_draw_ = time;
  if (drawn_) out_ << "\x1b[" << drawn_lines_ << "A";
  for (size_t i = 0; i < lines_.size(); ++i) {
    out_ << "\r\x1b[2K" << Fit(PadTo(ports_[i], port_width_) + "  " + lines_[i]) << "\n";
  }
  drawn_lines_ = lines_.size();
  if (!footer_.empty()) {
    out_ << "\r\x1b[2K" << Fit(footer_) << "\n";
    ++drawn_lines_;
  }
  out_.flush();
  drawn_ = true;
}

void GangBoard::EraseLocked() {
  if (!drawn_ || finished_) return;
  out_ << "\x1b[" << drawn_lines_ << "A\r\x1b[J";
  drawn_ = false;
}

std::string SummaryTable(const std::vector<std::string>& ports, const std::vector<WriteOutcome>& outcomes) {
  std::vector<std::vector<std::string>> rows = {{Say(Msg::HeadingPort), Say(Msg::HeadingDescription),
                                                  Say(Msg::HeadingResult), Say(Msg::HeadingTime),
                                                  Say(Msg::HeadingStatus)}};
  for (size_t i = 0; i < ports.size(); ++i) {
    const WriteOutcome& o = outcomes[i];
    rows.push_back({ports[i], OneLine(o.description), CommandLineText(o.result), DurationText(o.seconds),
                    std::to_string(o.exit_status)});
  }
  return FormatTable(rows);
}

}  // namespace zorvan::cli
