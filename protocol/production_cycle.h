#pragma once
// The production loop on one port: wait for a device, program it, show the result, wait
// until it has gone, wait for the next. The command line's write --loop and the window's
// automatic mode both run it, each on a station of its own.
//
// One device, one run. After a run the device on the port is taken for the one just
// handled until the port is seen without a device (nothing answers the identification,
// or the port itself has gone with its adapter, which a run ended by a port error takes
// it to have done), or until a device describes itself otherwise than that one did
// before its run. A device that holds the carried firmware's
// version is never programmed: it is taken for one already handled.
//
// Every look for a device wakes its loader and, when it is not to be programmed, resets
// it: a device that stays is looked at once every kLookInterval, so that a freshly
// programmed device is not bounced in and out of its loader more often. Meanwhile the
// port's presence is checked every kPresenceInterval, so that an adapter unplugged with
// its device is seen at once.

#include <optional>
#include <string>

#include "protocol/flasher.h"

namespace zorvan {

enum class CyclePhase {
  WaitingForDevice,   // nothing answers on the port
  Programming,        // the write procedure runs
  Passed,             // the device was programmed; waiting for it to go
  Failed,             // its run failed (a step, the port, a stop); waiting for it to go
  Refused,            // it cannot be programmed (version, loader, memory); waiting for it to go
  AlreadyProgrammed,  // it holds the carried firmware already; waiting for it to go
  PortMissing,        // the system has no such port: an adapter unplugged
  PortError,          // the port cannot be used; tried again a look later
};

// How the run of one device ended, as the loop counts it.
enum class DeviceResult {
  Passed,
  Failed,
  Refused,
  PortLost,  // failed with a port error: the device is taken as gone with its port
  Gone,      // nothing answered when the run identified it: not counted
};

// The devices counted on a port (or on several, added up), and the time their runs took.
struct CycleTally {
  int passed = 0;
  int failed = 0;
  int refused = 0;
  double seconds = 0;

  int Devices() const { return passed + failed + refused; }
  double SecondsPerDevice() const { return Devices() > 0 ? seconds / Devices() : 0; }
  void Count(DeviceResult result, double run_seconds);
  CycleTally& operator+=(const CycleTally& other);
};

// The port a cycle runs on, as the window or the command line has it.
class CycleStation {
 public:
  virtual ~CycleStation() = default;

  // Whether the system has the port now.
  virtual bool PortPresent() = 0;
  // Programs the device a look has just found (the port open, its loader awake) with the
  // write button's whole procedure, and shows the result; never raises.
  virtual DeviceResult Program() = 0;
  // Where the cycle stands; `detail` is the port error's text, or the description of the
  // device being programmed.
  virtual void Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) = 0;
  // Lets pending messages run for about `milliseconds`; false once the cycle is to end.
  virtual bool Wait(unsigned milliseconds) = 0;
};

inline constexpr unsigned kLookInterval = 2000;
inline constexpr unsigned kPresenceInterval = 250;

class ProductionCycle {
 public:
  // `line` is the flasher devices are looked for with: its surface gives the port
  // choice, the pauses and the processing of messages.
  ProductionCycle(CycleStation& station, Flasher& line) : station_(station), line_(line) {}

  // Runs until the station's Wait says to end. A run in progress is always finished.
  void Run();

  const CycleTally& Tally() const { return tally_; }

 private:
  // Looks once and acts on what answers.
  void LookAndAct();
  void ProgramDevice(const std::string& description);
  // Waits until the next look; returns early, true, when the port has gone meanwhile.
  bool Pause();
  // Waits until the port is back; false when the cycle is to end meanwhile.
  bool AwaitPort();
  void Enter(CyclePhase phase, const std::string& detail = {});
  // The port was seen without a device.
  void DeviceGone();

  CycleStation& station_;
  Flasher& line_;
  CycleTally tally_;
  CyclePhase phase_ = CyclePhase::WaitingForDevice;
  // The device last handled, by the description it gave before its run, and how it went.
  std::optional<std::string> handled_;
  CyclePhase handled_phase_ = CyclePhase::WaitingForDevice;
};

}  // namespace zorvan
