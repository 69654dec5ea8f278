#include "tools/flash/progress_surface.h"

#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ostream>

#include "protocol/programming_run.h"
#include "protocol/stop_command.h"
#include "tools/flash/exit_codes.h"

namespace zorvan::cli {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kBarWidth = 24;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

// Set from the signal handler; only flags and _exit are safe there.
volatile sig_atomic_t g_writing = 0;
volatile sig_atomic_t g_stop_requested = 0;

void OnInterrupt(int) {
  // Windows puts the default action back before calling a handler.
  std::signal(SIGINT, OnInterrupt);
  if (!g_writing || g_stop_requested) {
    static const char kNote[] = "\nzorvan-flash: interrupted\n";
    [[maybe_unused]] ssize_t ignored = write(STDERR_FILENO, kNote, sizeof kNote - 1);
    _exit(kExitStopped);
  }
  g_stop_requested = 1;
}

std::string Duration(double seconds) {
  const auto s = static_cast<int64_t>(seconds + 0.5);
  char text[32];
  if (s >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(s / 60), static_cast<long long>(s % 60));
  }
  return text;
}

}  // namespace

std::string ProgressLine(const ProgressFigures& f) {
  const int64_t filled = std::clamp<int64_t>(f.percent, 0, 100) * kBarWidth / 100;
  std::string line(kBarWidth + 2, '.');
  line.front() = '[';
  line.back() = ']';
  std::fill_n(line.begin() + 1, filled, '#');
  char figures[128];
  std::snprintf(figures, sizeof figures, " %3lld%%  %lld/%lld bytes", static_cast<long long>(f.percent),
                static_cast<long long>(f.bytes_done), static_cast<long long>(f.bytes_total));
  line += figures;
  if (f.bytes_done > 0 && f.seconds > 0) {
    const double rate = static_cast<double>(f.bytes_done) / f.seconds;
    std::snprintf(figures, sizeof figures, "  %.1f KiB/s", rate / 1024);
    line += figures;
    line += "  " + Duration(static_cast<double>(f.bytes_total - f.bytes_done) / rate) + " left";
  }
  if (!f.calibration.empty()) line += "  " + f.calibration;
  return line;
}

ProgressSurface::ProgressSurface(std::ostream& out, FlasherState& state, bool terminal, bool verbose)
    : ConsoleSurface(out), state_(state), terminal_(terminal), verbose_(verbose) {}

ProgressSurface::~ProgressSurface() {
  FinishBar();
  g_writing = 0;
  g_stop_requested = 0;
}

void ProgressSurface::CatchInterrupt() { std::signal(SIGINT, OnInterrupt); }

void ProgressSurface::SetGaugeMax(int64_t max) {
  ConsoleSurface::SetGaugeMax(max);
  Redraw(false);
}

void ProgressSurface::SetGaugeProgress(int64_t progress) {
  // A finished block is counted by the gauge: its chunks are no longer in progress,
  // although the chunk bar stands full until the next block is erased.
  if (progress != gauge_.Progress()) chunks_in_progress_ = 0;
  ConsoleSurface::SetGaugeProgress(progress);
  Redraw(false);
}

void ProgressSurface::SetChunkBarPosition(int position) {
  ConsoleSurface::SetChunkBarPosition(position);
  chunks_in_progress_ = position;
  Redraw(false);
}

void ProgressSurface::SetStatus(const std::string& text) {
  const bool writing = text == kWritingStatus;
  if (writing_ && !writing) {  // the writing has ended: its last figures stay on screen
    Redraw(true);
    FinishBar();
  }
  ConsoleSurface::SetStatus(text);
  if (writing && !writing_) {
    writing_since_ = Clock::now();
    last_tenth_ = -1;
  }
  writing_ = writing;
  g_writing = writing;
  if (verbose_) {
    ClearBar();
    messages_ << text << std::endl;
  }
  Redraw(true);
}

void ProgressSurface::SetCalibration(const std::string& text) {
  ConsoleSurface::SetCalibration(text);
  Redraw(true);
}

void ProgressSurface::AddMemoLine(const std::string& line) {
  ConsoleSurface::AddMemoLine(line);
  if (!verbose_) return;
  ClearBar();
  messages_ << line << std::endl;
  Redraw(true);
}

void ProgressSurface::ShowMessage(const std::string& text) {
  ClearBar();
  ConsoleSurface::ShowMessage(text);
}

void ProgressSurface::ProcessMessages() {
  ConsoleSurface::ProcessMessages();
  if (!g_stop_requested || stop_given_) return;
  stop_given_ = StopCommand(state_, *this);
  if (!stop_given_ && !stop_deferred_noted_) {
    stop_deferred_noted_ = true;
    ClearBar();
    messages_ << "zorvan-flash: the stop takes effect once the first block is written" << std::endl;
  }
}

ProgressFigures ProgressSurface::Figures() const {
  ProgressFigures f;
  f.percent = gauge_.Percent();
  const int64_t chunk_bytes = state_.ChunkSize;
  const int64_t block_bytes = chunk_bytes * state_.ChunksPerBlock;
  f.bytes_total = block_bytes * state_.BlockCount;
  f.bytes_done = std::min(f.bytes_total, gauge_.Progress() * block_bytes + chunks_in_progress_ * chunk_bytes);
  f.seconds = std::chrono::duration<double>(Clock::now() - writing_since_).count();
  f.calibration = calibration_;
  return f;
}

// On a terminal one line is drawn over and over, a few times a second; elsewhere a
// line is printed at every tenth of the writing.
void ProgressSurface::Redraw(bool force) {
  if (!writing_) return;
  const ProgressFigures figures = Figures();
  if (!terminal_) {
    const int64_t tenth = figures.percent / 10;
    if (tenth == last_tenth_) return;
    last_tenth_ = tenth;
    messages_ << ProgressLine(figures) << std::endl;
    return;
  }
  const auto now = Clock::now();
  if (!force && bar_shown_ && now - last_draw_ < kRedrawInterval) return;
  last_draw_ = now;
  messages_ << "\r\x1b[K" << ProgressLine(figures) << std::flush;
  bar_shown_ = true;
}

void ProgressSurface::FinishBar() {
  if (!bar_shown_) return;
  messages_ << std::endl;
  bar_shown_ = false;
}

void ProgressSurface::ClearBar() {
  if (!bar_shown_) return;
  messages_ << "\r\x1b[K" << std::flush;
  bar_shown_ = false;
}

}  // namespace zorvan::cli
