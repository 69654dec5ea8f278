#include "protocol/production_cycle.h"

#include <chrono>

#include "firmware/embedded_firmware.h"
#include "protocol/device_probe.h"
#include "serial/ecomport.h"

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
      DeviceGone();
      Enter(CyclePhase::PortMissing);
      if (!AwaitPort()) return;
      Enter(CyclePhase::WaitingForDevice);
    }
    LookAndAct();
    if (!Pause()) return;
  }
}

void ProductionCycle::LookAndAct() {
  try {
    const Sighting sighting = LookForDevice(line_);
    if (!sighting.present) {
      DeviceGone();
      if (phase_ != CyclePhase::WaitingForDevice) Enter(CyclePhase::WaitingForDevice);
      return;
    }
    const bool handled = sighting.description == BuiltInVersion || sighting.description == handled_;
    if (!handled) {
      ProgramDevice(sighting.description);
      return;
    }
    LetDeviceGo(line_);
    if (!handled_) {
      handled_ = sighting.description;
      handled_phase_ = CyclePhase::AlreadyProgrammed;
    }
    if (phase_ != handled_phase_) Enter(handled_phase_);
  } catch (const EComPort& error) {
    // An unplugged adapter is an ordinary event on a production line: look again later.
    // A port the system cannot open for want of it has gone, whatever its name said.
    if (error.Message() == com_text::kNoSuchPort) {
      DeviceGone();
      if (phase_ != CyclePhase::PortMissing) Enter(CyclePhase::PortMissing);
    } else {
      Enter(CyclePhase::PortError, error.what());
    }
  }
}

void ProductionCycle::ProgramDevice(const std::string& description) {
  Enter(CyclePhase::Programming, description);
  const auto started = std::chrono::steady_clock::now();
  const DeviceResult result = station_.Program();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (result == DeviceResult::Gone) {
    DeviceGone();
    Enter(CyclePhase::WaitingForDevice);
    return;
  }
  tally_.Count(result, seconds);
  handled_ = description;
  handled_phase_ = result == DeviceResult::Passed    ? CyclePhase::Passed
                   : result == DeviceResult::Refused ? CyclePhase::Refused
                                                     : CyclePhase::Failed;
  Enter(handled_phase_);
  // A port that failed under a run went with its adapter, as on a bench it does: what
  // answers on it next is another device.
  if (result == DeviceResult::PortLost) DeviceGone();
}

bool ProductionCycle::Pause() {
  for (unsigned waited = 0; waited < kLookInterval; waited += kPresenceInterval) {
    if (!station_.Wait(kPresenceInterval)) return false;
    if (!station_.PortPresent()) return true;
  }
  return true;
}

bool ProductionCycle::AwaitPort() {
  do {
    if (!station_.Wait(kPresenceInterval)) return false;
  } while (!station_.PortPresent());
  return true;
}

void ProductionCycle::Enter(CyclePhase phase, const std::string& detail) {
  phase_ = phase;
  station_.Show(phase, tally_, detail);
}

void ProductionCycle::DeviceGone() {
  handled_.reset();
  handled_phase_ = CyclePhase::WaitingForDevice;
}

}  // namespace zorvan
