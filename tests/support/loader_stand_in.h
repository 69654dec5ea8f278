#pragma once
// A port with a loader behind it that answers at once, for the windows' tests.

#include <functional>
#include <string>
#include <vector>

#include "serial/port_operations.h"

namespace zorvan::app::testing {

// Answers identification with the given geometry, the description, and an
// acknowledgement for every other frame. What it answers stays queued until read. A Reset
// after a commit of every chunk starts the new firmware: the description becomes
// `programmed`.
class LoaderStandIn : public PortOperations {
 public:
  std::string description = "250101";
  std::string programmed = "260313";
  std::string geometry = "02040008";  // chunks per block, bytes per chunk, blocks (hex)
  bool answers = true;
  std::vector<std::string> written;  // every frame, in order
  // Runs after every write, as the operator's hand would during a run.
  std::function<void(const std::string&)> on_write;
  std::string port_name;
  std::vector<TBaudRate> baud_rates;  // every rate set, in order
  int openings = 0;
  bool is_open = false;

  bool Open() override;
  bool Close() override;
  int WriteStr(const std::string& text) override;
  int ReadStr(std::string& text, int count) override;
  // What is queued is all that ever comes: no waiting.
  int ReadArrived(std::string& text, int count, std::chrono::steady_clock::time_point) override {
    return ReadStr(text, count);
  }
  void SetPort(const std::string& name) override { port_name = name; }
  void SetBaudRate(TBaudRate rate) override { baud_rates.push_back(rate); }

  int Count(const std::string& frame) const;

 private:
  std::string queued_;
  int commits_ = 0;  // since the last Reset
};

}  // namespace zorvan::app::testing
