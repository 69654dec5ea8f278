#pragma once
// The main window's logic: the port choice, the write button, the status label and the
// gauge, and in its engineering view the line rate, the detect and open buttons, the chunk
// bar, the calibration counters and the two small link buttons. It is the operator surface
// every long procedure acts through; it holds the flasher's shared state and the state of
// every control, and tells its view (app/main_form_view.h) what to show.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/form_visibility.h"
#include "app/gauge_display.h"
#include "app/keyboard_commands.h"
#include "app/main_form_view.h"
#include "app/skin_manager.h"
#include "common/gauge_model.h"
#include "common/operator_surface.h"
#include "firmware/hex_text.h"
#include "protocol/flasher.h"
#include "protocol/version_gate.h"

namespace zorvan::app {

class AutomaticMode;
class Desktop;
class TFormHelp;
class TProductionForm;

class TMainForm : public OperatorSurface {
 public:
  // `virtual_ports` are port paths that no system table lists (a pseudo-terminal, for
  // one); the port box offers them first, before the system's ports. Tells `view` the
  // rate box's items, the gauge and the carried firmware's text; nothing else happens
  // until FormCreate.
  TMainForm(MainFormView& view, Desktop& desktop, std::unique_ptr<PortOperations> port,
            std::vector<std::string> virtual_ports = {});
  ~TMainForm() override;

  // The help window that F1 and the help button show; made after this window.
  void SetFormHelp(TFormHelp& form_help) { FormHelp = &form_help; }
  // The production window that Ctrl+Shift+P opens from the engineering view.
  void SetProductionForm(TProductionForm& production) { production_ = &production; }

  // Opens the production window with the firmware this window holds, `ports` ticked, and
  // starts them when `start`: Ctrl+Shift+P, and the window program's --production.
  void OpenProductionWindow(const std::vector<std::string>& ports, bool start);

  // Shows the window, centred on the screen the first time, fading in.
  void Show();

  // The handlers, called by the view. Each runs as the application runs an event
  // handler: an exception that ends it reaches the default exception display, and
  // nothing it had done is undone.
  void FormCreate();
  void FormKeyDown(uint16_t& Key, ShiftState Shift);
  void FormResize();
  void FormActivate();
  void FormClose();     // the window's close box: it fades out, and the program ends
  void FadeOutEnded();  // the view's fade-out has ended
  void ButtonConectClick();
  void ButtonWriteClick();
  void ButtonOpenHexClick();
  void cbPortChange(int ItemIndex);      // the operator picked item ItemIndex
  void cbBaudRateChange(int ItemIndex);  // the operator picked item ItemIndex
  void Label1Click();
  void sButton2Click();
  void sButton3Click();
  void sComboBoxSkinNameChange(const std::string& Text);

  FlasherState& State() { return state_; }
  const HexText& FirmwareText() const { return firmware_text_; }
  const TsSkinManager& SkinManager() const { return sSkinManager1; }
  // The path of the HEX file last chosen, UTF-8; empty until one is chosen.
  const std::string& OpenDialogFileName() const { return OpenDialog1FileName; }
  // True while an image is prepared, the device is identified or programmed, or the
  // automatic mode runs: the actions that would disturb that work are refused meanwhile.
  bool Busy() const { return activity_ != Activity::Idle; }

  // OperatorSurface.
  void SetGaugeMax(int64_t max) override;
  void SetGaugeProgress(int64_t progress) override;
  int64_t GaugeProgress() const override { return gauge_.Progress(); }
  void SetChunkBarMax(int max) override;
  void SetChunkBarPosition(int position) override;
  int ChunkBarPosition() const override { return chunk_bar_position_; }
  void SetStatus(const std::string& text) override;
  void SetCalibration(const std::string& text) override;
  void SetMemoText(const std::string& text) override;
  void AddMemoLine(const std::string& line) override;
  std::string MemoText() const override { return At(MainControl::MemoAbout).text; }
  void ClearFirmwareText() override;
  void SetEnabled(Control control, bool enabled) override;
  void Focus(Control control) override;
  std::string PortName() const override;
  int BaudRateIndex() const override { return At(MainControl::cbBaudRate).item_index; }
  std::string LastHexFileName() const override;
  void ShowMessage(const std::string& text) override;
  void MessageBeep(unsigned type) override;
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void ProcessMessages() override;
  void BringToFront() override;
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override;

 private:
  enum class Activity { Idle, Preparing, Identifying, Programming, Automatic };
  class ActivityScope;

  // What a control holds: a label's caption or a memo's text (lines joined with CR LF),
  // its enabled state, a combo box's items and selection.
  struct ControlState {
    std::string text;
    bool enabled = true;
    std::vector<std::string> items;
    int item_index = -1;
  };

  // Runs a handler's body; an exception that ends it is shown. A port error there says
  // besides what the system can tell of the chosen port (no permission on it, a file
  // named in its place), as the command line does: the port's own text only asks the
  // operator to restart the program, which mends neither.
  void Handle(const std::function<void()>& body);

  // Runs a procedure on the device. A port error that ends it (the line hung up, the
  // adapter pulled out, the port missing or taken) releases the port, so that the next
  // press opens it afresh; with an `unfinished` label it also gives every operating
  // control back, empties the gauges and names the error on the label, as a failed run
  // leaves the window. The error's box ends with `again_line` instead of the advice to
  // restart the program.
  void RunOnPort(const char* unfinished, const char* again_line, const std::function<void()>& procedure);

  // The keyboard commands.
  void ShowHelpWindow();
  void OpenEngineeringView();
  void StopRun();
  void RefreshPortList();
  void ResetDeviceCommand();
  // Ctrl+Shift+A, in the engineering view only: the production line's automatic mode on
  // the chosen port, or its end when it runs.
  void ToggleAutomaticMode();

  // Asked when the version gate refuses the device the write button is programming:
  // in the engineering view a service engineer may write it all the same (a newer
  // version only after a second confirmation); the operator's view keeps the gate.
  bool WriteAnyway(GateVerdict verdict, const std::string& refusal);

  // Fills the port box: the ports given on the command line, then the system's.
  void FillPortList();
  void SelectFirstPort();
  bool PrepareFirmwareImage();
  void ShowFirmwareText();
  void ShowGauge(bool always);
  // Repaints the window at once, then lets the pending messages through.
  void RepaintNow();

  ControlState& At(MainControl control) { return controls_[static_cast<size_t>(control)]; }
  const ControlState& At(MainControl control) const { return controls_[static_cast<size_t>(control)]; }
  void SetControlText(MainControl control, std::string text);
  void SetControlEnabled(MainControl control, bool enabled);
  void SetControlItems(MainControl box, std::vector<std::string> items);
  void SetControlItemIndex(MainControl box, int index);
  // A selection the operator made in the view: the view already shows it.
  void TakeItemIndex(MainControl box, int index);

  MainFormView& view_;
  Desktop& desktop_;
  FlasherState state_;
  HexText firmware_text_;  // the text TextTerminal holds
  std::vector<std::string> virtual_ports_;
  std::array<ControlState, kMainControlCount> controls_;
  GaugeModel gauge_;  // ProgressbarReadWrite's numbers
  GaugeDisplay shown_gauge_;
  int chunk_bar_max_ = 100;
  int chunk_bar_position_ = 0;
  Activity activity_ = Activity::Idle;
  bool engineering_view_ = false;
  AutomaticMode* automatic_ = nullptr;  // while the automatic mode runs
  bool centred_ = false;
  FormVisibility visibility_;

  // Components.
  std::unique_ptr<PortOperations> BComPort1;
  Flasher flasher_;
  TsSkinManager sSkinManager1;
  std::string OpenDialog1Filter;
  std::string OpenDialog1FileName;
  // The HEX file the prepared image was made from (empty: the carried firmware), and the
  // SHA-256 of its text as read.
  std::string image_hex_file_;
  std::string image_sha256_;
  TFormHelp* FormHelp = nullptr;
  TProductionForm* production_ = nullptr;
};

// The controls whose click runs a handler of the main window, and the handler each runs:
// every view wires its clicks from here.
struct MainFormClick {
  MainControl control;
  void (TMainForm::*handler)();
};
inline constexpr MainFormClick kMainFormClicks[] = {
    {MainControl::ButtonWrite, &TMainForm::ButtonWriteClick},
    {MainControl::ButtonConect, &TMainForm::ButtonConectClick},
    {MainControl::ButtonOpenHex, &TMainForm::ButtonOpenHexClick},
    {MainControl::sButton2, &TMainForm::sButton2Click},
    {MainControl::sButton3, &TMainForm::sButton3Click},
    {MainControl::Label1, &TMainForm::Label1Click},
};

// The program's start once its windows are made, in the designed order: the
// application's provisional title, the main window's creation handler run to its end,
// then the main window shown. The toolkit's message loop runs next.
void StartProgram(Desktop& desktop, TMainForm& main_form);

}  // namespace zorvan::app
