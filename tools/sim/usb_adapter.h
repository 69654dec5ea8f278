#pragma once
// A USB-serial adapter between the device's UART and the host. It holds what the UART
// hands it until its latency timer runs out (the timer ticks every `latency`, whether or
// not anything waits) or a USB packet's worth of data, 62 bytes, is waiting, and then
// passes it to the host in one burst; a burst sent early because the packet filled starts
// the timer again. A reply that straddles a tick reaches the host in two pieces, one
// timer period apart.

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>

#include "tools/sim/loader_model.h"

namespace zorvan::sim {

// Characters that reach the host together, when `due`.
struct Scheduled {
  std::string text;
  Time due;
};

class UsbAdapter {
 public:
  // A latency of 0 stands for no adapter: every reply reaches the host in one piece, when
  // its last character has left the device.
  UsbAdapter(std::chrono::nanoseconds latency, Time start) : latency_(latency), timer_start_(start) {}

  // The characters of `text` leave the device one every `char_time`, the last of them at
  // `last`; appends what reaches the host, and when, to `out`. Replies are carried in the
  // order they leave the device, and `out` takes nothing from anyone else.
  void Carry(const std::string& text, Time last, std::chrono::nanoseconds char_time, std::deque<Scheduled>& out);

  // A USB packet of a full-speed adapter: 64 bytes, two of them the adapter's status.
  static constexpr size_t kPacketData = 62;

 private:
  Time NextTick(Time at) const;

  std::chrono::nanoseconds latency_;
  Time timer_start_;
  bool burst_open_ = false;  // out.back() is the burst the next tick sends
  size_t waiting_ = 0;       // characters held for it
};

}  // namespace zorvan::sim
