#include "tools/flash/console_surface.h"

#include <chrono>
#include <ctime>
#include <ostream>
#include <thread>

#include "serial/queued_gui_thread.h"

namespace zorvan::cli {

namespace {

// Messages join their lines with CR LF, as message boxes do, and pad some lines with
// spaces to centre them in the box; a terminal wants LF alone, and every line at the
// left margin.
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

}  // namespace

void ConsoleSurface::AddMemoLine(const std::string& line) {
  if (!memo_.empty()) memo_ += "\r\n";
  memo_ += line;
}

void ConsoleSurface::ShowMessage(const std::string& text) {
  messages_ << TerminalLines(text) << std::endl;
}

void ConsoleSurface::ProcessMessages() { DefaultGuiThread().ServePending(); }

void ConsoleSurface::Beep(unsigned, unsigned duration_ms) { Sleep(duration_ms); }

void ConsoleSurface::Sleep(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ConsoleSurface::TimeOfDay() const {
  const std::time_t now = std::time(nullptr);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&now));
  return text;
}

}  // namespace zorvan::cli
