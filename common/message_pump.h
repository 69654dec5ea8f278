#pragma once
// Lets pending window messages through from inside a long loop, often enough for the
// window to stay responsive and the stop command to be heard, but not at every one of
// a million iterations.

#include <chrono>

#include "common/operator_surface.h"

namespace zorvan {

class MessagePump {
 public:
  explicit MessagePump(OperatorSurface& surface,
                       std::chrono::milliseconds interval = std::chrono::milliseconds(10))
      : surface_(surface), interval_(interval) {}

  // Processes pending messages when `interval` has passed since the last time (and on
  // the first call). The clock is read only every few calls: a loop step is short.
  void Tick() {
    if (!first_ && ++calls_ % 64 != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (first_ || now - last_ >= interval_) {
      first_ = false;
      last_ = now;
      surface_.ProcessMessages();
    }
  }

 private:
  OperatorSurface& surface_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point last_{};
  bool first_ = true;
  unsigned calls_ = 0;
};

}  // namespace zorvan
