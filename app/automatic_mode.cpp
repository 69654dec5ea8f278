#include "app/automatic_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/main_form.h"
#include "common/display_text.h"
#include "common/surface_decorator.h"
#include "protocol/programming_run.h"
#include "protocol/stop_command.h"

namespace zorvan::app {

namespace {


// A run of the automatic mode on the window: the gauge, the chunk bar, the calibration
// and the sounds are the window's; its messages, its memo, its status texts and the
// enabled state of the controls are kept from it, the mode's own being shown instead.
class AutomaticRunSurface : public SurfaceDecorator {
 public:
  using SurfaceDecorator::SurfaceDecorator;

  void SetStatus(const std::string&) override {}
  // The description, which the version gate reads; the attempts' log is not kept.
  void SetMemoText(const std::string& text) override { memo_ = text; }
  void AddMemoLine(const std::string&) override {}
  std::string MemoText() const override { return memo_; }
  void ClearFirmwareText() override {}
  void SetEnabled(Control, bool) override {}
  void Focus(Control) override {}
  void ShowMessage(const std::string& text) override { shown_.push_back(text); }
  void BringToFront() override {}

  const std::vector<std::string>& Shown() const { return shown_; }

 private:
  std::string memo_;
  std::vector<std::string> shown_;
};

const char* PhaseText(CyclePhase phase) {
  switch (phase) {
    case CyclePhase::WaitingForDevice: return kAutoWaiting;
    case CyclePhase::Programming: return kAutoProgramming;
    case CyclePhase::Passed: return kAutoPassed;
    case CyclePhase::Failed: return kAutoFailed;
    case CyclePhase::Refused: return kAutoRefused;
    case CyclePhase::AlreadyProgrammed: return kAutoAlreadyProgrammed;
    case CyclePhase::PortMissing: return kAutoPortMissing;
    case CyclePhase::PortError: return kAutoPortError;
  }
  return "";
}

// "Прошито 3, збоїв 1, відмов 0": the devices counted, as the status label shows them.
std::string TallyText(const CycleTally& tally) {
  return "Прошито " + std::to_string(tally.passed) + ", збоїв " + std::to_string(tally.failed) + ", відмов " +
         std::to_string(tally.refused);
}

}  // namespace

void AutomaticMode::Run() {
  // Whatever ends the cycle, the window is left for the operator's hand again.
  struct Restore {
    TMainForm& form;
    ~Restore() {
      for (Control control : kOperatingControls) form.SetEnabled(control, true);
      form.SetGaugeProgress(0);
      form.SetChunkBarPosition(0);
    }
  } restore{form_};
  for (Control control : kOperatingControls) form_.SetEnabled(control, control == Control::ButtonWrite);
  form_.SetMemoText({});
  ProductionCycle cycle(*this);
  cycle.Run();
  const CycleTally& tally = cycle.Tally();
  form_.SetStatus(std::string(kAutoEnded) + ". " + TallyText(tally) +
                  (tally.Devices() > 0 ? ", " + DurationText(tally.SecondsPerDevice()) + "/прилад" : std::string()));
}

void AutomaticMode::End() {
  if (programming_ && !ending_) form_.SetStatus(std::string(kAutoLastRun) + ". " + TallyText(tally_));
  ending_ = true;
}

bool AutomaticMode::PortPresent() { return desktop_.PortPresent(form_.PortName()); }

DeviceRun AutomaticMode::Program() {
  AutomaticRunSurface surface(form_);
  Flasher run{flasher_.state, surface, flasher_.port, flasher_.image};
  DeviceResult result = DeviceResult::Failed;
  std::string message;
  const auto started = std::chrono::steady_clock::now();
  try {
    const RunEnding ending = zorvan::ButtonWriteClick(run);
    result = DeviceResultOf(ending);
    message = EndingMessage(surface.Shown(), ending == RunEnding::Failed);
    // The operator stopped the run: the line is being stopped, not one device.
    if (ending == RunEnding::Stopped) {
      message = kStoppedStatus;
      End();
    }
  } catch (const Exception& error) {
    result = DeviceResultOf(error);
    message = OneLine(error.what());
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (result != DeviceResult::Gone) {
    form_.AddMemoLine(form_.TimeOfDay() + "  " + description_ + "  " + message + "  (" + DurationText(seconds) + ")");
  }
  return {result, seconds};
}

void AutomaticMode::Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) {
  tally_ = tally;
  programming_ = phase == CyclePhase::Programming;
  if (programming_) {
    description_ = OneLine(detail);
  } else {
    // Between runs the gauge is empty, so that Ctrl+Delete has no run to stop.
    form_.SetGaugeProgress(0);
    form_.SetChunkBarPosition(0);
  }
  if (phase == CyclePhase::PortError && detail != port_error_) {
    form_.AddMemoLine(form_.TimeOfDay() + "  " + kAutoPortError + ": " + OneLine(detail));
  }
  port_error_ = phase == CyclePhase::PortError ? detail : std::string();
  form_.SetStatus(std::string(PhaseText(phase)) + ". " + TallyText(tally));
}

bool AutomaticMode::Wait(unsigned milliseconds) {
  for (unsigned waited = 0; waited < milliseconds && !ending_; waited += kAttentionSlice) {
    form_.ProcessMessages();
    if (!ending_) form_.Sleep(std::min(kAttentionSlice, milliseconds - waited));
  }
  return !ending_;
}

}  // namespace zorvan::app
