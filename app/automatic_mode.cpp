#include "app/automatic_mode.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/main_form.h"
#include "app/production_row.h"
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
  row_.Started();
  ProductionCycle cycle(*this);
  cycle.Run();
  form_.SetStatus(std::string(kAutoEnded) + ". " + TallyWithTimeText(cycle.Tally()));
}

void AutomaticMode::End() {
  if (row_.Programming() && !ending_) {
    row_.Ending();
    form_.SetStatus(row_.StateText() + ". " + TallyText(tally_));
  }
  ending_ = true;
}

bool AutomaticMode::PortPresent() { return desktop_.PortPresent(form_.PortName()); }

DeviceRun AutomaticMode::Program() {
  AutomaticRunSurface surface(form_);
  Flasher run{flasher_.state, surface, flasher_.port, flasher_.image};
  LineRun outcome;
  const auto started = std::chrono::steady_clock::now();
  try {
    const RunEnding ending = zorvan::ButtonWriteClick(run);
    outcome.result = DeviceResultOf(ending);
    outcome.message = EndingMessage(surface.Shown(), ending == RunEnding::Failed);
    // The operator stopped the run: the line is being stopped, not one device.
    if (ending == RunEnding::Stopped) {
      outcome.message = kStoppedStatus;
      End();
    }
  } catch (const Exception& error) {
    outcome.result = DeviceResultOf(error);
    // The error's own first line: a port error's advice to restart the program does not
    // hold here, since the mode takes the port afresh by itself.
    outcome.message = EndingMessage({error.what()}, false);
  }
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const std::string line = row_.Device(outcome, form_.TimeOfDay(), {});
  if (!line.empty()) form_.AddMemoLine(line);
  return {outcome.result, outcome.seconds};
}

void AutomaticMode::Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) {
  tally_ = tally;
  if (phase != CyclePhase::Programming) {
    // Between runs the gauge is empty, so that Ctrl+Delete has no run to stop.
    form_.SetGaugeProgress(0);
    form_.SetChunkBarPosition(0);
  }
  const std::string port_error = row_.Phase(phase, tally, detail, form_.TimeOfDay(), {});
  if (!port_error.empty()) form_.AddMemoLine(port_error);
  form_.SetStatus(row_.StateText() + ". " + TallyText(tally));
}

bool AutomaticMode::Wait(unsigned milliseconds) {
  for (unsigned waited = 0; waited < milliseconds && !ending_; waited += kAttentionSlice) {
    form_.ProcessMessages();
    if (!ending_) form_.Sleep(std::min(kAttentionSlice, milliseconds - waited));
  }
  return !ending_;
}

}  // namespace zorvan::app
