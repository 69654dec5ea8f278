#pragma once
// The production loop on one port: wait for a device, program it, show the result, watch
// it until it has gone, wait for the next. The command line's write --loop and the
// window's automatic mode both run it, each port on a station of its own.
//
// Its one promise: a device is programmed at most once per presence, and no device is
// shown as passed unless this presence's run passed.
// - After a pass the cycle looks at once, and learns what the programmed device reports
//   now; from then on a device that reports anything else is a new one and is programmed.
//   A look that finds the description the device gave before its run (the older firmware
//   every fresh device reports) finds a new device: the one just programmed never gives it
//   again.
// - After a failure or a refusal the device is taken for the same one, whatever it
//   reports, until a look finds the port empty or the port itself has gone; a run that
//   ended with a port error took the port with it (an adapter unplugged, a line hung up).
// - A device that reports the carried firmware's version on first sight is already
//   programmed: it is not run and not counted.
// - An image that leaves a device's description as it was shows itself by two passes in
//   a row each followed by the description from before the run; from then on a passed
//   device, too, is taken for the same until the port is seen empty, so that no device is
//   written over and over.
//
// It is a state machine over its station, which does every act that touches the line or
// time, so that it can be tried against a scripted bench with no real time.

#include <optional>
#include <string>

#include "protocol/device_probe.h"
#include "protocol/device_result.h"

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

// What a look at the port saw.
struct LookOutcome {
  enum class Seen {
    Nothing,    // no device answered; the port has been released
    Device,     // a device answered; it waits in its loader with the port open
    PortError,  // the port failed; `text` is its error
    CutShort,   // an end was asked for meanwhile: a device may be awake in its loader
  };
  Seen seen = Seen::Nothing;
  std::string text;  // the device's description, or the port error's text
  bool woke = false;  // CutShort: the wake-up had been sent, and a device may be in its loader
};

// A run's result and how long it took.
struct DeviceRun {
  DeviceResult result = DeviceResult::Failed;
  double seconds = 0;
};

// The port a cycle runs on, as the window or the command line has it.
class CycleStation {
 public:
  virtual ~CycleStation() = default;

  // Whether the system has the port now.
  virtual bool PortPresent() = 0;
  // Wakes a device on the port, sends it Identify once and, when it answers, reads its
  // description; never raises.
  virtual LookOutcome Look() = 0;
  // Programs the device the last look found with the write button's whole procedure, and
  // shows the result; never raises.
  virtual DeviceRun Program() = 0;
  // Sends the device the last look found back to its firmware and releases the port;
  // returns the port error that kept it from doing so, if one did (the port released all
  // the same).
  virtual std::optional<std::string> LetGo() = 0;
  // Releases the port whatever it is in the middle of, so that an adapter unplugged and
  // plugged in again gets its old name back.
  virtual void Release() = 0;
  // Where the cycle stands; `detail` is the port error's text, or the description of the
  // device being programmed.
  virtual void Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) = 0;
  // Lets pending messages run for about `milliseconds`; false once the cycle is to end.
  virtual bool Wait(unsigned milliseconds) = 0;
  // Whether the cycle is to end (Ctrl+C, the write button, Ctrl+Shift+A, the window
  // closed): no run begins after it.
  virtual bool EndRequested() = 0;
};

// How often a device that stays is looked at: at first after kLookInterval, and, while a
// programmed device stays as it was, each time twice as long after, up to
// kLongestLookInterval; a failed or refused device every kLookInterval, since only the
// port seen empty frees it. Meanwhile the port's presence is checked every
// kPresenceInterval, so that an adapter unplugged with its device is seen at once. An
// empty port is looked at again as soon as a look has ended. A device is taken to have
// gone once kLooksAtAnEmptyPort looks in a row have found nothing, so that a reply lost
// on the line does not make it a new device.
inline constexpr unsigned kLookInterval = 2000;
inline constexpr unsigned kLongestLookInterval = 30000;
inline constexpr unsigned kPresenceInterval = 250;
inline constexpr int kLooksAtAnEmptyPort = 4;

class ProductionCycle {
 public:
  explicit ProductionCycle(CycleStation& station) : station_(station) {}

  // Runs until the station says to end. A run in progress is always finished.
  void Run();

  const CycleTally& Tally() const { return tally_; }

 private:
  // The device the cycle takes to be on the port.
  struct KeptDevice {
    CyclePhase phase;  // Passed, Failed, Refused or AlreadyProgrammed
    // A passed device: what it reported before its run.
    std::optional<std::string> before;
    // What it reports now, once a look has seen it so (a passed device's is learned at
    // the first look after its run).
    std::optional<std::string> now;
    // It was found, reporting what the device before it had reported before its run, by
    // the look that followed that device's pass.
    bool came_after_a_pass = false;
  };

  // Acts on what a look saw; returns how long to wait before the next look, or nothing
  // when the cycle is to end.
  std::optional<unsigned> Act(const LookOutcome& outcome);
  std::optional<unsigned> ActOnDevice(const std::string& description);
  std::optional<unsigned> ActOnKept(const std::string& description);
  std::optional<unsigned> ProgramDevice(const std::string& description, bool came_after_a_pass);
  // Releases the port after it failed; the error is shown unless the port has gone.
  std::optional<unsigned> PortTrouble(const std::string& error);
  // Lets the device go, or releases the port when that fails; the cycle then ends.
  std::optional<unsigned> LetGoAndEnd();
  std::optional<unsigned> ReleaseAndEnd();
  // Whether the device a look found is the one kept.
  bool IsKept(const std::string& description) const;
  // Whether only a look that finds the port empty tells that the kept device has gone.
  bool KeptUntilPortEmpty() const;
  // Waits `milliseconds`, watching the port's presence; false when the cycle is to end.
  bool Pause(unsigned milliseconds);
  // Waits until the port is back; false when the cycle is to end meanwhile.
  bool AwaitPort();
  void Enter(CyclePhase phase, const std::string& detail = {});
  void Keep(KeptDevice device);
  // The port was seen without a device: whatever answers next is a new one.
  void ForgetDevice();

  CycleStation& station_;
  CycleTally tally_;
  std::optional<CyclePhase> phase_;  // as last shown
  std::string shown_detail_;
  std::optional<KeptDevice> kept_;
  unsigned interval_ = kLookInterval;  // until the next look at the kept device
  int empty_looks_ = 0;                // in a row, while a device is kept
  // Two devices in a row reported after their pass what they had reported before it: the
  // image leaves a device's description as it was, so a passed device, like a failed
  // one, is taken for the same until the port is seen empty.
  bool image_keeps_description_ = false;
};

}  // namespace zorvan
