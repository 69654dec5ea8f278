#pragma once
// The simulated device's serial line: the master side of a pseudo-terminal, paced as a
// UART at a given rate. The host opens the slave side as its serial port.

#include <string>

#include "tools/sim/loader_model.h"

namespace zorvan::sim {

class PtyLine {
 public:
  // Opens a pseudo-terminal in raw mode. `baud` 0 sends and receives without pacing.
  // Raises std::runtime_error when the system refuses.
  explicit PtyLine(unsigned baud);
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // The path the host opens.
  const std::string& SlavePath() const { return slave_path_; }

  // Carries characters between the host and `loader` until RequestStop, or until the
  // loader hangs up (then, once everything it sent is on the line, the pseudo-terminal
  // is closed and the host sees the hang-up). While no host holds the port open, what
  // the loader sends is lost, as it would be on a real line.
  void Serve(LoaderModel& loader);

  // Safe from a signal handler and from another thread.
  void RequestStop();

 private:
  int master_ = -1;
  int stop_pipe_[2] = {-1, -1};
  std::string slave_path_;
  std::chrono::nanoseconds char_time_{0};
};

}  // namespace zorvan::sim
