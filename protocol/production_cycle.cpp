#include "protocol/production_cycle.h"

#include <algorithm>

#include "firmware/embedded_firmware.h"

namespace zorvan {

void CycleTally::Count(DeviceResult result, double run_seconds) {
  switch (result) {
    case DeviceResult::Passed: ++passed; break;
    case DeviceResult::Failed:
    case DeviceResult::PortLost: ++failed; break;
    case DeviceResult::Refused: ++refused; break;
    case DeviceResult::Gone: return;
  }
  seconds += run_seconds;
}

CycleTally& CycleTally::operator+=(const CycleTally& other) {
  passed += other.passed;
  failed += other.failed;
  refused += other.refused;
  seconds += other.seconds;
  return *this;
}

void ProductionCycle::Run() {
  Enter(CyclePhase::WaitingForDevice);
  for (;;) {
    if (!station_.PortPresent()) {
      ForgetDevice();
      Enter(CyclePhase::PortMissing);
      if (!AwaitPort()) return;
      Enter(CyclePhase::WaitingForDevice);
    }
    const std::optional<unsigned> pause = Act(station_.Look());
    if (!pause || !Pause(*pause)) return;
  }
}

std::optional<unsigned> ProductionCycle::Act(const LookOutcome& outcome) {
  switch (outcome.seen) {
    case LookOutcome::Seen::Nothing:
      // The kept device is looked for again at once, until it has missed enough looks.
      if (kept_ && ++empty_looks_ < kLooksAtAnEmptyPort) return 0;
      ForgetDevice();
      Enter(CyclePhase::WaitingForDevice);
      return 0;
    case LookOutcome::Seen::Device:
      empty_looks_ = 0;
      return ActOnDevice(outcome.text);
    case LookOutcome::Seen::PortError: return PortTrouble(outcome.text);
    case LookOutcome::Seen::CutShort: return outcome.woke ? LetGoAndEnd() : ReleaseAndEnd();
  }
  return std::nullopt;
}

std::optional<unsigned> ProductionCycle::ActOnDevice(const std::string& description) {
  if (kept_ && IsKept(description)) return ActOnKept(description);
  const bool after_a_pass = kept_ && kept_->phase == CyclePhase::Passed && !kept_->now;
  if (after_a_pass && kept_->came_after_a_pass) {
    // Two passes in a row followed by the description from before the run: not two swaps
    // within a look of a final reset, but an image that does not change what a device
    // reports. The device is not written a third time.
    image_keeps_description_ = true;
    return ActOnKept(description);
  }
  if (description == BuiltInVersion) {
    if (const auto error = station_.LetGo()) return PortTrouble(*error);
    Keep({CyclePhase::AlreadyProgrammed, std::nullopt, description});
    Enter(CyclePhase::AlreadyProgrammed);
    return interval_;
  }
  // An end asked for while the device was looked at: no run begins after it.
  if (station_.EndRequested()) return LetGoAndEnd();
  return ProgramDevice(description, after_a_pass);
}

std::optional<unsigned> ProductionCycle::ActOnKept(const std::string& description) {
  if (const auto error = station_.LetGo()) return PortTrouble(*error);
  kept_->now = description;
  Enter(kept_->phase);
  if (KeptUntilPortEmpty()) return kLookInterval;
  // A programmed device that stays as it is is looked at less and less often.
  const unsigned pause = interval_;
  interval_ = std::min(2 * interval_, kLongestLookInterval);
  return pause;
}

std::optional<unsigned> ProductionCycle::ProgramDevice(const std::string& description, bool came_after_a_pass) {
  Enter(CyclePhase::Programming, description);
  const DeviceRun run = station_.Program();
  // A run that failed may leave the port open with the device in its loader.
  station_.Release();
  tally_.Count(run.result, run.seconds);
  switch (run.result) {
    case DeviceResult::Gone:
      ForgetDevice();
      Enter(CyclePhase::WaitingForDevice);
      return 0;
    case DeviceResult::Passed:
      // Looked at again at once, to learn what it reports now.
      Keep({CyclePhase::Passed, description, std::nullopt, came_after_a_pass});
      Enter(CyclePhase::Passed);
      return 0;
    case DeviceResult::PortLost:
      // A port that failed under a run went with its adapter, as on a bench it does
      // (an adapter unplugged, a line that hung up): what answers on it next is another
      // device, even if the port is back before a look has found it away.
      ForgetDevice();
      Enter(CyclePhase::Failed);
      return kLookInterval;
    case DeviceResult::Failed: Keep({CyclePhase::Failed}); break;
    case DeviceResult::Refused: Keep({CyclePhase::Refused}); break;
  }
  Enter(kept_->phase);
  return kLookInterval;
}

std::optional<unsigned> ProductionCycle::PortTrouble(const std::string& error) {
  station_.Release();
  // A port the system has no more has gone with its adapter, and with the device on it.
  if (!station_.PortPresent()) return 0;
  Enter(CyclePhase::PortError, error);
  return kLookInterval;
}

std::optional<unsigned> ProductionCycle::LetGoAndEnd() {
  if (station_.LetGo()) station_.Release();
  return std::nullopt;
}

std::optional<unsigned> ProductionCycle::ReleaseAndEnd() {
  station_.Release();
  return std::nullopt;
}

bool ProductionCycle::KeptUntilPortEmpty() const {
  return kept_->phase == CyclePhase::Failed || kept_->phase == CyclePhase::Refused ||
         (kept_->phase == CyclePhase::Passed && image_keeps_description_);
}

bool ProductionCycle::IsKept(const std::string& description) const {
  if (KeptUntilPortEmpty()) return true;
  if (kept_->now) return description == *kept_->now;
  return description != kept_->before;
}

bool ProductionCycle::Pause(unsigned milliseconds) {
  for (unsigned waited = 0;;) {
    const unsigned slice = std::min(kPresenceInterval, milliseconds - waited);
    if (!station_.Wait(slice)) return false;
    waited += slice;
    if (waited >= milliseconds || !station_.PortPresent()) return true;
  }
}

bool ProductionCycle::AwaitPort() {
  do {
    if (!station_.Wait(kPresenceInterval)) return false;
  } while (!station_.PortPresent());
  return true;
}

void ProductionCycle::Enter(CyclePhase phase, const std::string& detail) {
  if (phase == phase_ && detail == shown_detail_) return;
  phase_ = phase;
  shown_detail_ = detail;
  station_.Show(phase, tally_, detail);
}

void ProductionCycle::Keep(KeptDevice device) {
  kept_ = std::move(device);
  interval_ = kLookInterval;
  empty_looks_ = 0;
}

void ProductionCycle::ForgetDevice() {
  kept_.reset();
  interval_ = kLookInterval;
  empty_looks_ = 0;
}

}  // namespace zorvan
