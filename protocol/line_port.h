#pragma once
// One port of a production line on a thread of its own: its own port object, state and
// GUI thread (which serves the port's line events), looking and programming device after
// device through the production cycle until it is ended. Each run is the write button's
// procedure with the version gate as the operator meets it (nothing written anyway).
// Whatever the port does is told to its observer on the port's thread; nothing is shared
// with the line's other ports but the prepared image, which none of them changes.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "firmware/image_builder.h"
#include "protocol/flasher.h"
#include "protocol/device_result.h"
#include "protocol/production_cycle.h"
#include "protocol/programming_run.h"
#include "protocol/writing_reach.h"

namespace zorvan {

// One device's run, as a run record keeps it.
struct LineRun {
  std::chrono::system_clock::time_point began;
  double seconds = 0;
  DeviceResult result = DeviceResult::Failed;
  // How the procedure ended; nothing when an error (the port's, a description that is no
  // number) ended it.
  std::optional<RunEnding> ending;
  // The first line of the system's own message that ended the run.
  std::string message;
  // What the device said of itself before the run; empty when it was not identified.
  std::string description;
  std::string loader_version;
  std::string calibration;  // the final calibration label, "Автокалібровка: e.w.c"
  WritingReach reach;
};

// What a port of the line tells its front end, on the port's thread.
class LinePortObserver {
 public:
  virtual ~LinePortObserver() = default;
  // Where the cycle stands: its phase, the port's tally, and the port error's text or the
  // description of the device being programmed.
  virtual void PhaseShown(CyclePhase phase, const CycleTally& tally, const std::string& detail) = 0;
  // The run's percentage of blocks written, each time it changes.
  virtual void RunPercent(int percent) = 0;
  // A device's run has ended (one that found no device, too: DeviceResult::Gone). Returns
  // whether the port goes on: false ends it, as End does.
  virtual bool DeviceDone(const LineRun& run) = 0;
  // The cycle has ended with `tally`; the port's last word.
  virtual void PortEnded(const CycleTally& tally) = 0;
};

// What the front end holds of a running port.
class LinePortControl {
 public:
  virtual ~LinePortControl() = default;
  // No run begins after it; a run in progress is finished first. Safe from any thread.
  virtual void End() = 0;
  // Also stops a run in progress as the operator's stop command does (Ctrl+Delete), as
  // soon as it can act. Safe from any thread.
  virtual void Stop() = 0;
};

// How a port of the line looks for devices and runs them, made on the port's thread. The
// production window's is the write button's procedure on a port, a state and a GUI thread
// of the port's own; the command line's loop brings its console run.
class LineRunner {
 public:
  virtual ~LineRunner() = default;
  // The port, state and surface the looks are made with.
  virtual Flasher& Looking() = 0;
  // Programs the device the last look found; tells the run's percentage to `observer`
  // and gives the operator's stop once `stop` is set and the run can act on it.
  virtual LineRun Program(LinePortObserver& observer, const std::atomic<bool>& stop) = 0;
};

struct LinePortSettings {
  std::string port;
  int baud_rate_index = 12;
  // Shared by every port of the line; it outlives the port's thread.
  std::shared_ptr<const ImageState> image;
  // Makes the port's runner on its thread; none: the write button's procedure.
  std::function<std::unique_ptr<LineRunner>()> runner;
};

// Starts the port's cycle on a thread of its own. Destroying the control ends the port,
// stops its run and waits for the thread. `observer` outlives the control.
std::unique_ptr<LinePortControl> StartLinePort(LinePortSettings settings, LinePortObserver& observer);

}  // namespace zorvan
