#pragma once
// The simulated device's serial line: the master side of a pseudo-terminal, paced as a
// UART at a given rate. The host opens the slave side as its serial port.

#include <optional>
#include <string>

#include "tools/sim/loader_model.h"
#include "tools/sim/usb_adapter.h"

namespace zorvan::sim {

// Why Serve returned.
enum class ServeEnd {
  Stopped,  // RequestStop: the simulation ends
  HungUp,   // the loader hung up: the pseudo-terminal is closed
  Swapped,  // RequestSwap: the device is to be taken away now
  Left,     // the loader's time on the line is over (LoaderModel::LeavesAt)
  Until,    // the time given has come
};

class PtyLine {
 public:
  // Opens a pseudo-terminal in raw mode. `baud` 0 sends and receives without pacing.
  // What the device sends reaches the host through a USB adapter whose latency timer runs
  // `adapter_latency_ms` (0: straight from the UART). Raises std::runtime_error when the
  // system refuses.
  explicit PtyLine(unsigned baud, double adapter_latency_ms = 0);
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // The path the host opens.
  const std::string& SlavePath() const { return slave_path_; }

  // Carries characters between the host and `loader` until RequestStop, RequestSwap or
  // `until`, until the loader's time on the line is over, or until the loader hangs up
  // (then, once everything it sent is on the line, the pseudo-terminal is closed and the
  // host sees the hang-up). While no host holds the port open, what the loader sends is
  // lost, as it would be on a real line; and what the host wrote but had not yet sent
  // across the line when it closed the port is lost with the port's transmit queue.
  ServeEnd Serve(LoaderModel& loader, std::optional<Time> until = std::nullopt);

  // Takes the port away, as an adapter unplugged does: the host sees a hang-up and the
  // path goes. Open brings a new pseudo-terminal, under a new path.
  void Close();
  void Open();
  bool IsOpen() const { return master_ >= 0; }
  // Waits with the port away until `until`, RequestStop or RequestSwap.
  ServeEnd Away(Time until);

  // Safe from a signal handler and from another thread. A stop holds for every later
  // Serve; a swap ends the one under way (or the next).
  void RequestStop();
  void RequestSwap();

 private:
  // Reads what RequestStop and RequestSwap sent, if anything.
  std::optional<ServeEnd> TakeRequests();

  int master_ = -1;
  int request_pipe_[2] = {-1, -1};
  bool stopped_ = false;
  std::string slave_path_;
  std::chrono::nanoseconds char_time_{0};
  UsbAdapter adapter_;
};

}  // namespace zorvan::sim
