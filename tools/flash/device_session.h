#pragma once
// What the detect, write and reset commands share: their options, and a port, a state
// and a surface wired together for one of the loader's procedures.

#include <functional>
#include <optional>
#include <string>

#include "protocol/flasher.h"
#include "serial/bcport.h"
#include "tools/flash/commands.h"
#include "tools/flash/progress_surface.h"

namespace zorvan::cli {

struct DeviceOptions {
  std::string port;
  int baud_rate_index = br115200;
  std::string hex;  // empty: the carried firmware
  bool verbose = false;
};

// --port PATH (required), --baud RATE, --verbose, and --hex FILE when `takes_hex`.
// Prints what is wrong and returns nothing when the arguments do not fit.
std::optional<DeviceOptions> ParseDeviceOptions(const Arguments& args, const char* command, bool takes_hex);

class DeviceSession {
 public:
  // The surface writes to the standard output, as a progress bar when that is a terminal.
  explicit DeviceSession(const DeviceOptions& options);

  // Runs the procedure; a port error or a description that is not a version number
  // is printed and becomes its exit status.
  int Run(const std::function<int(Flasher&)>& procedure);

  FlasherState state;
  ProgressSurface surface;
  TBComPort port;
  Flasher flasher{state, surface, port};

 private:
  std::string port_name_;
};

}  // namespace zorvan::cli
