#pragma once
// What the detect, write and reset commands share: their options, and a port and a
// state of their own for one of the loader's procedures.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/flasher.h"
#include "serial/bcport.h"
#include "serial/queued_gui_thread.h"
#include "cli/commands.h"
#include "cli/progress_surface.h"

namespace zorvan::cli {

struct DeviceOptions {
  std::vector<std::string> ports;  // one, or several for a gang
  int baud_rate_index = br115200;
  std::string hex;     // empty: the carried firmware
  std::string record;  // the file run records are appended to; empty: none
  bool verbose = false;
  bool quiet = false;  // no progress: only the result and errors
  bool loop = false;  // program device after device on each port until Ctrl+C
  // How far the version gate gives way: 1 writes a device that holds this version or
  // describes itself with no version; 2, or allow_downgrade, one with a newer version too.
  int force = 0;
  bool allow_downgrade = false;
};

// --port PATH (required), --baud RATE, --verbose and -q (--quiet); for `write` also
// several --port, --hex FILE, --record FILE, --loop, --force (once or twice) and
// --allow-downgrade. Prints what is wrong and returns nothing when the arguments do not
// fit.
std::optional<DeviceOptions> ParseDeviceOptions(const Arguments& args, const char* command, bool write = false);

Verbosity VerbosityOf(const DeviceOptions& options);

// Prints "zorvan-flash COMMAND: PROBLEM (see zorvan-flash --help)" on the error output
// and returns the exit status of a wrong command line.
int UsageError(const char* command, const std::string& problem);

class DeviceSession {
 public:
  DeviceSession(std::string port_name, int baud_rate_index);

  // Runs the procedure on `surface`, writing `image` when it programs; a port error or a
  // description that is not a version number is shown and becomes its exit status, as
  // is Ctrl+C before anything was erased.
  int Run(ProgressSurface& surface, const ImageState& image, const std::function<int(Flasher&)>& procedure);
  int Run(ProgressSurface& surface, const std::function<int(Flasher&)>& procedure) {
    return Run(surface, state, procedure);
  }
  // The session's port and state on `surface`, for a procedure whose errors its caller
  // handles itself; the surface takes the session's port choice.
  Flasher FlasherOn(ConsoleSurface& surface, const ImageState& image);

  FlasherState state;

 private:
  std::string port_name_;
  int baud_rate_index_;
  // The port's own: the line events of a gang's ports are each served by their own run.
  // It outlives the port, whose closing is served here.
  QueuedGuiThread gui_;
  TBComPort port_;
};

// Runs the procedure on the first of the options' ports, shown on this console: a
// progress line in place when the standard output is a terminal.
int RunOnConsole(const DeviceOptions& options, const std::function<int(Flasher&)>& procedure);

}  // namespace zorvan::cli
