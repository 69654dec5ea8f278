#include "tests/support/loader_stand_in.h"

#include <algorithm>

namespace zorvan::app::testing {

bool LoaderStandIn::Open() {
  ++openings;
  is_open = true;
  return true;
}

bool LoaderStandIn::Close() {
  is_open = false;
  queued_.clear();
  return true;
}

int LoaderStandIn::WriteStr(const std::string& text) {
  written.push_back(text);
  if (on_write) on_write(text);
  if (!answers) return static_cast<int>(text.size());
  if (text == "w0101;") {
    const int chunks = std::stoi(geometry.substr(0, 2), nullptr, 16) * std::stoi(geometry.substr(4, 4), nullptr, 16);
    if (commits_ >= chunks) description = programmed;
    commits_ = 0;
  } else if (text == "w0606;") {
    ++commits_;
  }
  if (text == "w0202;") {
    queued_ += "w8202" "0000" + geometry + "00;";
  } else if (text == "w0303;") {
    queued_ += "w83" + description + "00;";
  } else if (text.size() > 3 && text[0] == 'w' && text != "wwwww") {
    queued_ += "w8" + text.substr(2, 1) + "00;";
  }
  return static_cast<int>(text.size());
}

int LoaderStandIn::ReadStr(std::string& text, int count) {
  const size_t n = std::min(queued_.size(), static_cast<size_t>(std::max(count, 0)));
  text = queued_.substr(0, n);
  queued_.erase(0, n);
  return static_cast<int>(n);
}

int LoaderStandIn::Count(const std::string& frame) const {
  return static_cast<int>(std::count(written.begin(), written.end(), frame));
}

}  // namespace zorvan::app::testing
