#include "cli/progress_surface.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "protocol/programming_run.h"
#include "protocol/stop_command.h"
#include "cli/interrupt.h"
#include "cli/system_texts.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBarWidth = 24;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

}  // namespace

std::string ProgressLine(const ProgressFigures& f) {
  const int64_t filled = std::clamp<int64_t>(f.percent, 0, 100) * kBarWidth / 100;
  std::string line(kBarWidth + 2, '.');
  line.front() = '[';
  line.back() = ']';
  std::fill_n(line.begin() + 1, filled, '#');
  char percent[32];
  std::snprintf(percent, sizeof percent, " %3lld%%  ", static_cast<long long>(f.percent));
  line += percent + Say(Msg::ProgressBytes, {std::to_string(f.bytes_done), std::to_string(f.bytes_total)});
  if (f.bytes_done > 0 && f.seconds > 0) {
    const double rate = static_cast<double>(f.bytes_done) / f.seconds;
    char kib[32];
    std::snprintf(kib, sizeof kib, "%.1f", rate / 1024);
    line += "  " + Say(Msg::ProgressRate, {kib});
    line += "  " + Say(Msg::ProgressLeft, {DurationText(static_cast<double>(f.bytes_total - f.bytes_done) / rate)});
  }
  if (!f.calibration.empty()) line += "  " + f.calibration;
  return line;
}

void ConsoleProgressView::DrawInPlace(const std::string& line) {
  out_ << "\r\x1b[K" << line << std::flush;
  shown_ = true;
}

void ConsoleProgressView::KeepInPlace() {
  if (!shown_) return;
  out_ << std::endl;
  shown_ = false;
}

void ConsoleProgressView::Print(const std::string& text, bool error) {
  if (error) {
    KeepInPlace();
    err_ << text << "\n" << std::flush;
    return;
  }
  if (shown_) {
    out_ << "\r\x1b[K";
    shown_ = false;
  }
  out_ << text << std::endl;
}

ProgressSurface::ProgressSurface(ProgressView& view, FlasherState& state, Verbosity verbosity)
    : view_(view), state_(state), verbosity_(verbosity), writing_(state) {}

ProgressSurface::~ProgressSurface() {
  FinishBar();
  if (writing_.IsWriting()) WritingEnds();
}

void ProgressSurface::SetGaugeMax(int64_t max) {
  ConsoleSurface::SetGaugeMax(max);
  Redraw(false);
}

void ProgressSurface::SetGaugeProgress(int64_t progress) {
  ConsoleSurface::SetGaugeProgress(progress);
  writing_.GaugeAt(gauge_.Progress());
  Redraw(false);
}

void ProgressSurface::SetChunkBarPosition(int position) {
  ConsoleSurface::SetChunkBarPosition(position);
  writing_.ChunkBarAt(position);
  Redraw(false);
}

void ProgressSurface::SetStatus(const std::string& text) {
  const bool writing = text == kWritingStatus;
  if (writing_.IsWriting() && !writing) {  // the writing has ended: its last figures stay on screen
    Redraw(true);
    FinishBar();
    WritingEnds();
  }
  ConsoleSurface::SetStatus(text);
  if (writing && !writing_.IsWriting()) {
    writing_since_ = Clock::now();
    last_tenth_ = -1;
    WritingBegins();
  }
  writing_.Writing(writing);
  if (verbosity_ == Verbosity::Verbose) {
    view_.Print(CommandLineText(text));
    drawn_ = false;
  }
  Redraw(true);
}

void ProgressSurface::SetCalibration(const std::string& text) {
  ConsoleSurface::SetCalibration(text);
  Redraw(true);
}

void ProgressSurface::SetMemoText(const std::string& text) {
  ConsoleSurface::SetMemoText(text);
  description_ = text;
}

void ProgressSurface::AddMemoLine(const std::string& line) {
  ConsoleSurface::AddMemoLine(line);
  writing_.AttemptLogged();
  if (verbosity_ != Verbosity::Verbose) return;
  view_.Print(CommandLineText(line));
  drawn_ = false;
  Redraw(true);
}

void ProgressSurface::ShowMessage(const std::string& text) {
  shown_.push_back(text);
  view_.Print(CommandLineText(TerminalLines(text)));
  drawn_ = false;
}

void ProgressSurface::ShowError(const std::string& system_text, const std::string& screen_text) {
  shown_.push_back(system_text);
  view_.Print(screen_text, /*error=*/true);
  drawn_ = false;
}

void ProgressSurface::ProcessMessages() {
  ConsoleSurface::ProcessMessages();
  if (!StopRequested() || stop_given_) return;
  if (!writing_.ErasingBegun()) {
    // Nothing has been erased on this device: it is left as it was, as a run alone
    // would be left when Ctrl+C ends the program at once.
    shown_.push_back(kStoppedStatus);
    view_.Print(Say(Msg::StoppedBeforeErase));
    throw RunInterrupted();
  }
  stop_given_ = StopCommand(state_, *this);
  if (!stop_given_ && !stop_deferred_noted_) {
    stop_deferred_noted_ = true;
    view_.Print(Say(Msg::StopDeferred));
    drawn_ = false;
  }
}

ProgressFigures ProgressSurface::Figures() const {
  ProgressFigures f;
  f.percent = gauge_.Percent();
  f.bytes_total = writing_.BytesTotal();
  f.bytes_done = writing_.BytesDone();
  f.seconds = std::chrono::duration<double>(Clock::now() - writing_since_).count();
  f.calibration = CommandLineText(calibration_);
  return f;
}

// In place, a few times a second; as lines of their own, at every tenth of the writing.
void ProgressSurface::Redraw(bool force) {
  if (!writing_.IsWriting() || verbosity_ == Verbosity::Quiet) return;
  const ProgressFigures figures = Figures();
  if (!view_.RedrawsInPlace()) {
    const int64_t tenth = figures.percent / 10;
    if (tenth == last_tenth_) return;
    last_tenth_ = tenth;
    view_.Print(ProgressLine(figures));
    return;
  }
  const auto now = Clock::now();
  if (!force && drawn_ && now - last_draw_ < kRedrawInterval) return;
  last_draw_ = now;
  view_.DrawInPlace(ProgressLine(figures));
  drawn_ = true;
}

void ProgressSurface::FinishBar() {
  view_.KeepInPlace();
  drawn_ = false;
}

}  // namespace zorvan::cli
