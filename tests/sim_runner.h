#pragma once
// A simulated device serving on its own thread for the length of a test.

#include <memory>
#include <string>
#include <thread>

#include "tools/sim/loader_model.h"
#include "tools/sim/pty_line.h"

namespace zorvan::testing {

class SimRunner {
 public:
  // `baud` 0: no pacing, so that runs are quick.
  explicit SimRunner(sim::LoaderConfig config, unsigned baud = 0)
      : line_(baud), loader_(std::move(config)), thread_([this] { line_.Serve(loader_); }) {}
  ~SimRunner() { Stop(); }

  const std::string& PortPath() const { return line_.SlavePath(); }

  // Ends the service; the device may be looked at afterwards.
  void Stop() {
    if (!thread_.joinable()) return;
    line_.RequestStop();
    thread_.join();
  }
  const sim::LoaderModel& Device() {
    Stop();
    return loader_;
  }

 private:
  sim::PtyLine line_;
  sim::LoaderModel loader_;
  std::thread thread_;
};

}  // namespace zorvan::testing
