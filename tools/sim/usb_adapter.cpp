#include "tools/sim/usb_adapter.h"

namespace zorvan::sim {

Time UsbAdapter::NextTick(Time at) const {
  if (at <= timer_start_) return timer_start_;
  const auto periods = (at - timer_start_ + latency_ - std::chrono::nanoseconds(1)) / latency_;
  return timer_start_ + periods * latency_;
}

void UsbAdapter::Carry(const std::string& text, Time last, std::chrono::nanoseconds char_time,
                       std::deque<Scheduled>& out) {
  if (latency_.count() <= 0) {
    out.push_back({text, last});
    return;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    const Time arrival = last - char_time * static_cast<int64_t>(text.size() - 1 - i);
    const Time tick = NextTick(arrival);
    if (!burst_open_ || out.empty() || out.back().due != tick) {
      out.push_back({std::string(), tick});
      burst_open_ = true;
      waiting_ = 0;
    }
    out.back().text += text[i];
    if (++waiting_ == kPacketData) {
      // A full packet goes at once, and the timer starts again.
      out.back().due = arrival;
      timer_start_ = arrival;
      burst_open_ = false;
    }
  }
}

}  // namespace zorvan::sim
