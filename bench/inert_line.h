#pragma once
// Line-event services that report no event ever: a port as it would be without the
// event watch, for measuring what the watch costs.

#include <condition_variable>
#include <mutex>
#include <optional>

#include "serial/line_event_device.h"

namespace zorvan {

class InertLine final : public LineEventDevice {
 public:
  void SetEventMask(uint32_t) override {}
  std::optional<uint32_t> WaitForEvents() override {
    std::unique_lock lock(mutex_);
    stopped_changed_.wait(lock, [this] { return stopped_; });
    return std::nullopt;
  }
  void RequestStop() override {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    stopped_changed_.notify_all();
  }
  void DiscardQueues() override {}
  std::optional<CommStatus> ClearCommError() override { return CommStatus{}; }
  std::optional<uint32_t> ModemStatus() override { return 0; }

 private:
  std::mutex mutex_;
  std::condition_variable stopped_changed_;
  bool stopped_ = false;
};

inline std::unique_ptr<LineEventDevice> MakeInertLine(intptr_t, const TransferTally&) {
  return std::make_unique<InertLine>();
}

}  // namespace zorvan
