#include "tests/support/fake_line.h"

#include <cstdio>

namespace zorvan::testing {

class FakeLine::Device final : public LineEventDevice {
 public:
  explicit Device(FakeLine& line) : line_(line) {}
  ~Device() override { line_.Record("released"); }

  void SetEventMask(uint32_t mask) override {
    char act[32];
    std::snprintf(act, sizeof act, "mask %X", mask);
    line_.Record(act);
  }

  std::optional<uint32_t> WaitForEvents() override {
    std::unique_lock lock(line_.mutex_);
    line_.waiting_ = true;
    line_.changed_.notify_all();
    line_.changed_.wait(lock, [this] { return line_.stopped_ || !line_.fired_.empty(); });
    line_.waiting_ = false;
    if (line_.stopped_) return std::nullopt;
    const uint32_t mask = line_.fired_.front();
    line_.fired_.erase(line_.fired_.begin());
    return mask;
  }

  void RequestStop() override {
    line_.Record("stop");
    std::lock_guard lock(line_.mutex_);
    line_.stopped_ = true;
    line_.changed_.notify_all();
  }

  void DiscardQueues() override { line_.Record("discard"); }

  std::optional<CommStatus> ClearCommError() override {
    line_.Record("clear");
    std::lock_guard lock(line_.mutex_);
    return line_.comm_status_;
  }

  std::optional<uint32_t> ModemStatus() override {
    line_.Record("modem");
    std::lock_guard lock(line_.mutex_);
    return line_.modem_status_;
  }

 private:
  FakeLine& line_;
};

LineEventDeviceFactory FakeLine::Factory() {
  return [this](intptr_t, const TransferTally&) {
    std::lock_guard lock(mutex_);
    stopped_ = false;
    fired_.clear();
    acts_.clear();
    return std::make_unique<Device>(*this);
  };
}

void FakeLine::Fire(uint32_t mask) {
  std::lock_guard lock(mutex_);
  fired_.push_back(mask);
  changed_.notify_all();
}

void FakeLine::SetCommStatus(std::optional<CommStatus> status) {
  std::lock_guard lock(mutex_);
  comm_status_ = status;
}

void FakeLine::SetModemStatus(std::optional<uint32_t> status) {
  std::lock_guard lock(mutex_);
  modem_status_ = status;
}

bool FakeLine::WaitUntilIdle(std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, limit, [this] { return waiting_ && fired_.empty(); });
}

std::vector<std::string> FakeLine::Acts() const {
  std::lock_guard lock(mutex_);
  return acts_;
}

void FakeLine::Record(std::string act) {
  std::lock_guard lock(mutex_);
  acts_.push_back(std::move(act));
}

}  // namespace zorvan::testing
