#include "common/display_text.h"

#include <cstdint>
#include <cstdio>

namespace zorvan {

std::string DurationText(double seconds) {
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

std::string OneLine(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i] == '\n' || text[i] == '\r' ? std::string(" / ") : std::string(1, text[i]);
  }
  return out;
}

namespace {

// The first line of `text` with text in it, without the spaces that centre it.
std::string FirstLine(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const size_t first = text.find_first_not_of(' ', start);
    if (first < end) return text.substr(first, end - first);
    start = end + 1;
  }
  return {};
}

}  // namespace

std::string EndingMessage(const std::vector<std::string>& shown, bool failed_step) {
  if (shown.empty()) return {};
  return FirstLine(shown[failed_step && shown.size() >= 2 ? shown.size() - 2 : shown.size() - 1]);
}

}  // namespace zorvan
