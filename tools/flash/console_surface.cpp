#include "tools/flash/console_surface.h"

#include <chrono>
#include <ctime>
#include <ostream>
#include <thread>

#include "common/local_time.h"
#include "tools/flash/system_texts.h"

namespace zorvan::cli {

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

void ConsoleSurface::AddMemoLine(const std::string& line) {
  if (!memo_.empty()) memo_ += "\r\n";
  memo_ += line;
}

void ConsoleSurface::ShowMessage(const std::string& text) {
  *messages_ << CommandLineText(TerminalLines(text)) << std::endl;
}

void ConsoleSurface::ProcessMessages() { gui_->ServePending(); }

void ConsoleSurface::Beep(unsigned, unsigned duration_ms) { Sleep(duration_ms); }

void ConsoleSurface::Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ConsoleSurface::TimeOfDay() const {
  const std::tm now = LocalTime(std::time(nullptr));
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &now);
  return text;
}

}  // namespace zorvan::cli
