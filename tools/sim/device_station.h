#pragma once
// One port of the simulated bench and the devices that take it in turn, as an operator
// on a production line plugs one device after another into the same adapter: a device
// leaves (its time after the flasher reset it is over, it hung up, or SIGUSR1 took it
// away), the port stays empty for a gap, and the next device comes. With the port
// leaving with each device, as an adapter unplugged with it, the pseudo-terminal goes
// and a new one comes, under the same --link.

#include <memory>
#include <string>
#include <vector>

#include "tools/sim/loader_model.h"
#include "tools/sim/pty_line.h"

namespace zorvan::sim {

struct StationConfig {
  unsigned baud = 115200;
  double adapter_latency_ms = 0;
  std::string link;     // a symbolic link kept pointing at the port while it is there
  double gap_ms = 4000;  // how long the port stays empty between two devices
  bool port_leaves = false;  // the port goes with each device and comes with the next
};

class DeviceStation {
 public:
  // `series`: the devices that take the port in turn, the first at once. After the last,
  // fresh copies of it come as long as it leaves on its own, or SIGUSR1 takes it away.
  DeviceStation(StationConfig config, std::vector<LoaderConfig> series);
  ~DeviceStation();

  // The port's path now.
  const std::string& PortPath() const { return line_.SlavePath(); }

  // Serves the devices in turn until RequestStop, or until a device hangs up with none
  // to follow it.
  void Serve();

  // Safe from a signal handler.
  void RequestStop() { line_.RequestStop(); }
  // The device on the port leaves now; the next comes after the gap.
  void RequestSwap() { line_.RequestSwap(); }

  // Every device that came, in order.
  const std::vector<std::unique_ptr<LoaderModel>>& Devices() const { return devices_; }
  // The configuration device `index` (0-based, in order of coming) was made from.
  const LoaderConfig& ConfigOf(size_t index) const { return configs_[index]; }

 private:
  // Brings the next device; false when none is to come.
  bool Next(bool swapped);
  // Keeps the port empty for the gap; false when stopped meanwhile.
  bool Gap(bool port_leaves);
  void Link();
  void Note(const std::string& what) const;

  StationConfig config_;
  std::vector<LoaderConfig> series_;
  PtyLine line_;
  std::vector<std::unique_ptr<LoaderModel>> devices_;
  std::vector<LoaderConfig> configs_;
};

}  // namespace zorvan::sim
