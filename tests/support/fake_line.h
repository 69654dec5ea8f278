#pragma once
// A stand-in for a device's line-event services: the test says which events fire and what
// the status queries report, and reads back what the port and its event thread did to
// the device, in order.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "serial/line_event_device.h"

namespace zorvan::testing {

class FakeLine {
 public:
  // Hands the port a device bound to this line at every Open.
  LineEventDeviceFactory Factory();

  // The next wait reports `mask` (EV_* bits); 0 stands for a wait that failed.
  void Fire(uint32_t mask);
  // What ClearCommError reports from now on; no value makes it fail.
  void SetCommStatus(std::optional<CommStatus> status);
  // What ModemStatus reports from now on; no value makes it fail.
  void SetModemStatus(std::optional<uint32_t> status);

  // True once the event thread waits again with every fired event taken; false when it
  // does not within `limit`.
  bool WaitUntilIdle(std::chrono::milliseconds limit = std::chrono::seconds(10));

  // What was done to the device since the port last opened, in order: "mask 5BD", "stop", "discard", "clear",
  // "modem", "released" (the port let the device go).
  std::vector<std::string> Acts() const;

 private:
  class Device;

  void Record(std::string act);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<uint32_t> fired_;
  bool stopped_ = false;
  bool waiting_ = false;
  std::optional<CommStatus> comm_status_ = CommStatus{};
  std::optional<uint32_t> modem_status_ = 0;
  std::vector<std::string> acts_;
};

}  // namespace zorvan::testing
