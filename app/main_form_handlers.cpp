// The main window's handlers: start-up, the keyboard commands, the buttons, the boxes and
// the small housekeeping handlers.

#include "app/app_texts.h"
#include "app/automatic_mode.h"
#include "app/desktop.h"
#include "app/form_help.h"
#include "app/handler_guard.h"
#include "app/links.h"
#include "app/main_form.h"
#include "app/production_form.h"
#include "app/utf8_path.h"
#include "records/sha256.h"
#include "firmware/embedded_firmware.h"
#include "firmware/firmware_source.h"
#include "firmware/hex_survey.h"
#include "firmware/image_builder.h"
#include "protocol/identification.h"
#include "protocol/programming_run.h"
#include "protocol/reset_command.h"
#include "protocol/stop_command.h"
#include "serial/bcport.h"

namespace zorvan::app {

// Marks the window busy for the length of a preparation, identification or run.
class TMainForm::ActivityScope {
 public:
  ActivityScope(TMainForm& form, Activity activity) : form_(form) { form_.activity_ = activity; }
  ~ActivityScope() { form_.activity_ = Activity::Idle; }
  ActivityScope(const ActivityScope&) = delete;
  ActivityScope& operator=(const ActivityScope&) = delete;

 private:
  TMainForm& form_;
};

void TMainForm::FormCreate() {
  Handle([this] {
    desktop_.SetApplicationTitle(kProgramTitle);
    view_.SetCaption(kProgramTitle);
    FillPortList();
    SelectFirstPort();
    SetControlItemIndex(MainControl::cbBaudRate, kDefaultBaudRateIndex);
    SetMemoText({});
    SetGaugeProgress(0);
    if (PrepareFirmwareImage()) SetStatus(kImageReady);
  });
}

void TMainForm::FillPortList() {
  std::vector<std::string> ports = virtual_ports_;
  const std::vector<std::string> system_ports = desktop_.ListSerialPorts();  // raises before the box is touched
  ports.insert(ports.end(), system_ports.begin(), system_ports.end());
  SetControlItems(MainControl::cbPort, std::move(ports));
}

void TMainForm::SelectFirstPort() {
  SetControlItemIndex(MainControl::cbPort, At(MainControl::cbPort).items.empty() ? -1 : 0);
}

bool TMainForm::PrepareFirmwareImage() {
  ActivityScope scope(*this, Activity::Preparing);
  struct ShowTextAfterwards {
    TMainForm& form;
    ~ShowTextAfterwards() { form.ShowFirmwareText(); }  // upper-cased, whatever the outcome
  } show_text{*this};
  // The text as it was read identifies the image; a failed preparation keeps the earlier
  // image, and so its file and digest.
  std::string sha256 = Sha256Hex(firmware_text_.Text());
  if (!PrepareImage(*this, firmware_text_, state_)) return false;
  image_hex_file_ = OpenDialog1FileName;
  image_sha256_ = std::move(sha256);
  return true;
}

void TMainForm::OpenProductionWindow(const std::vector<std::string>& ports, bool start) {
  Handle([&] {
    if (!production_) return;
    ProductionFirmware firmware;
    // The image alone: the spare storage of the next preparation stays here. A line that
    // runs keeps its own, and the copy of 40 MB would only hold the key up.
    if (!production_->Running()) {
      firmware.image.ImageText = state_.ImageText;
      firmware.image.ImageComplete = state_.ImageComplete;
      firmware.image.WrittenRanges = state_.WrittenRanges;
    }
    firmware.hex_file = image_hex_file_;
    firmware.name = image_hex_file_.empty() ? std::string(BuiltInVersion)
                                            : Utf8FromPath(PathFromUtf8(image_hex_file_).filename());
    firmware.sha256 = image_sha256_;
    firmware.firmware_version = BuiltInVersion;
    if (BaudRateIndex() >= 0) firmware.baud_rate_index = BaudRateIndex();
    production_->Open(std::move(firmware), ports, start);
  });
}

void TMainForm::FormKeyDown(uint16_t& Key, ShiftState Shift) {
  Handle([&] {
    switch (CommandForKey(Key, Shift)) {
      case KeyCommand::ShowHelp: ShowHelpWindow(); break;
      case KeyCommand::EngineeringView: OpenEngineeringView(); break;
      case KeyCommand::Stop: StopRun(); break;
      case KeyCommand::RefreshPorts: RefreshPortList(); break;
      case KeyCommand::ResetDevice: ResetDeviceCommand(); break;
      case KeyCommand::AutomaticMode: ToggleAutomaticMode(); break;
      case KeyCommand::ProductionWindow:
        if (engineering_view_) OpenProductionWindow({}, false);
        break;
      case KeyCommand::None: break;
    }
  });
}

void TMainForm::ShowHelpWindow() {
  if (FormHelp) FormHelp->ShowForm();
}

// Nothing makes the window small again, and a second command changes nothing.
void TMainForm::OpenEngineeringView() {
  if (engineering_view_) return;
  engineering_view_ = true;
  view_.SetOuterHeight(kEngineeringOuterHeight);
}

void TMainForm::StopRun() { StopCommand(state_, *this); }

void TMainForm::ResetDeviceCommand() {
  // A reset in the middle of a run would leave the device half written and the run's
  // port closed under it.
  if (Busy()) return;
  RunOnPort(nullptr, kResetAgainLine, [this] { ResetDevice(flasher_); });
}

void TMainForm::ToggleAutomaticMode() {
  if (!engineering_view_) return;
  if (automatic_) {
    automatic_->End();
    return;
  }
  if (Busy()) return;
  ActivityScope scope(*this, Activity::Automatic);
  AutomaticMode mode(*this, desktop_, flasher_);
  automatic_ = &mode;
  struct Forget {
    AutomaticMode*& mode;
    ~Forget() { mode = nullptr; }
  } forget{automatic_};
  mode.Run();
}

void TMainForm::RefreshPortList() {
  // A new port list would not reach a run under way, but keeps the operator from
  // thinking the port could be changed in the middle of it.
  if (Busy()) return;
  FillPortList();
  SelectFirstPort();
  ShowMessage(kPortsRefreshed);
}

void TMainForm::ButtonConectClick() {
  Handle([this] {
    if (Busy()) return;
    ActivityScope scope(*this, Activity::Identifying);
    RunOnPort(kDetectUnfinished, kDetectAgainLine, [this] { zorvan::ButtonConectClick(flasher_); });
  });
}

void TMainForm::ButtonWriteClick() {
  Handle([this] {
    if (automatic_) {
      automatic_->End();
      return;
    }
    // Also refuses a click between a stop command, which enables the button again, and
    // the run's next test of the stop request: a second run would start inside the first.
    if (Busy()) return;
    ActivityScope scope(*this, Activity::Programming);
    RunOnPort(kWriteUnfinished, kWriteAgainLine, [this] {
      zorvan::ButtonWriteClick(flasher_, [this](GateVerdict verdict, const std::string& refusal) {
        return WriteAnyway(verdict, refusal);
      });
    });
  });
}

bool TMainForm::WriteAnyway(GateVerdict verdict, const std::string& refusal) {
  if (!engineering_view_) return false;
  if (!desktop_.AskYesNo(refusal + "\r\n" + kWriteAnywayQuestion)) return false;
  return verdict != GateVerdict::NewerVersion || desktop_.AskYesNo(kDowngradeQuestion);
}

void TMainForm::RunOnPort(const char* unfinished, const char* again_line, const std::function<void()>& procedure) {
  try {
    procedure();
  } catch (const EComPort& error) {
    try {
      BComPort1->Close();
    } catch (const EComPort&) {
      // A device that is still there but refused to close stays open; the next press
      // closes it before it opens the port again.
    }
    std::string text = error.Message();
    if (const size_t restart = text.find(kRestartLine); restart != std::string::npos) {
      text.replace(restart, std::string_view(kRestartLine).size(), again_line);
    }
    if (unfinished != nullptr) {
      for (Control c : kOperatingControls) SetEnabled(c, true);
      SetGaugeProgress(0);
      SetChunkBarPosition(0);
      SetStatus(unfinished + text.substr(0, text.find('\n')));
    }
    ShowDefaultException(desktop_, EComPort(text), PortAccessHint(PortName()));
  }
}

void TMainForm::ButtonOpenHexClick() {
  Handle([this] {
    // A new image in the middle of a run would mix two firmwares in one device.
    if (Busy()) return;
    OpenDialog1Filter = kOpenDialogFilter;
    const std::string chosen = desktop_.ChooseFileToOpen(view_, OpenDialog1Filter, OpenDialog1FileName);
    if (chosen.empty()) return;
    OpenDialog1FileName = chosen;
    HexText text(ReadTextFile(PathFromUtf8(chosen)));
    // A file that is not Intel HEX would pass every line check and become an image of
    // nothing: refused with the HEX texts' beep and box, everything left as it was. An
    // empty file goes on, and the gauge refuses its maximum as ever.
    const HexTextProblem problem = SurveyHexText(text).problem;
    if (problem == HexTextProblem::Binary || problem == HexTextProblem::NoDataRecord) {
      MessageBeep(MB_ICONHAND);
      ShowMessage(NotIntelHexMessage(problem, LastHexFileName()));
      return;
    }
    firmware_text_ = std::move(text);
    if (!PrepareFirmwareImage()) return;
    SetStatus(kFileOpenedHead + LastHexFileName() + kFileOpenedTail);
    ShowMessage(kFileOpenedMessage);
  });
}

void TMainForm::cbPortChange(int ItemIndex) {
  Handle([&] {
    TakeItemIndex(MainControl::cbPort, ItemIndex);
    Focus(Control::ButtonConect);
  });
}

void TMainForm::cbBaudRateChange(int ItemIndex) {
  Handle([&] {
    TakeItemIndex(MainControl::cbBaudRate, ItemIndex);
    // Every procedure applies the box's rate again before it opens the port; changing the
    // rate of the port a procedure is using would only garble its exchanges.
    if (Busy() || BaudRateIndex() < 0) return;
    BComPort1->SetBaudRate(static_cast<TBaudRate>(BaudRateIndex()));
  });
}

void TMainForm::Label1Click() {
  Handle([this] { desktop_.OpenDeviceManager(view_); });
}

void TMainForm::sButton2Click() {
  Handle([this] {
    MessageBeep(MB_ICONASTERISK);
    desktop_.OpenAddress(view_, kMakerSiteAddress);
  });
}

void TMainForm::sButton3Click() {
  Handle([this] {
    MessageBeep(MB_ICONASTERISK);
    ShowHelpWindow();
  });
}

void TMainForm::FormResize() {
  Handle([this] { RepaintNow(); });
}

void TMainForm::FormActivate() {
  Handle([this] { RepaintNow(); });
}

void TMainForm::RepaintNow() {
  view_.Repaint();
  view_.ProcessMessages();
}

void TMainForm::FormClose() {
  Handle([this] {
    if (automatic_) automatic_->End();
    visibility_.Close();
  });
}

void TMainForm::FadeOutEnded() {
  Handle([this] { visibility_.FadeOutEnded(); });
}

void TMainForm::sComboBoxSkinNameChange(const std::string& Text) {
  Handle([&] {
    At(MainControl::sComboBoxSkinName).text = Text;
    sSkinManager1.SetSkinName(Text);
  });
}

}  // namespace zorvan::app
