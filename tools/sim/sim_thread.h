#pragma once
// A simulated device serving on its own thread, for tests and benchmarks that drive the
// flasher in the same process.

#include <string>
#include <thread>

#include "tools/sim/loader_model.h"
#include "tools/sim/pty_line.h"

namespace zorvan::sim {

class SimThread {
 public:
  // `baud` 0: no pacing; `adapter_latency_ms` 0: no USB adapter's latency timer.
  explicit SimThread(LoaderConfig config, unsigned baud = 0, double adapter_latency_ms = 0)
      : line_(baud, adapter_latency_ms), loader_(std::move(config)), thread_([this] { line_.Serve(loader_); }) {}
  ~SimThread() { Stop(); }

  const std::string& PortPath() const { return line_.SlavePath(); }

  // Ends the service; the device may be looked at afterwards.
  void Stop() {
    if (!thread_.joinable()) return;
    line_.RequestStop();
    thread_.join();
  }
  const LoaderModel& Device() {
    Stop();
    return loader_;
  }

 private:
  PtyLine line_;
  LoaderModel loader_;
  std::thread thread_;
};

}  // namespace zorvan::sim
