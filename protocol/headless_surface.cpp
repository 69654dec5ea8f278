#include "protocol/headless_surface.h"

#include <chrono>
#include <ctime>
#include <ostream>
#include <thread>

#include "common/local_time.h"

namespace zorvan {

std::string TerminalLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool line_start = true;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (line_start && text[i] == ' ') continue;
    out += text[i];
    line_start = text[i] == '\n';
  }
  return out;
}

void HeadlessSurface::AddMemoLine(const std::string& line) {
  if (!memo_.empty()) memo_ += "\r\n";
  memo_ += line;
}

void HeadlessSurface::ShowMessage(const std::string& text) { *messages_ << TerminalLines(text) << std::endl; }

void HeadlessSurface::ProcessMessages() { gui_->ServePending(); }

void HeadlessSurface::Beep(unsigned, unsigned duration_ms) { Sleep(duration_ms); }

void HeadlessSurface::Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string HeadlessSurface::TimeOfDay() const {
  const std::tm now = LocalTime(std::time(nullptr));
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &now);
  return text;
}

}  // namespace zorvan
