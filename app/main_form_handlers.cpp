// The main window's handlers: start-up, the keyboard commands, the open button and the
// small housekeeping handlers.

#include <filesystem>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/form_help.h"
#include "app/keyboard_commands.h"
#include "app/links.h"
#include "app/main_form.h"
#include "app/skin_manager.h"
#include "app/ts_gauge.h"
#include "common/operator_surface.h"
#include "firmware/image_builder.h"
#include "protocol/identification.h"
#include "protocol/programming_run.h"
#include "protocol/reset_command.h"
#include "protocol/stop_command.h"
#include "firmware/firmware_source.h"

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
  desktop_.SetApplicationTitle(Text(kProgramTitle));
  setWindowTitle(Text(kProgramTitle));
  FillPortList();
  cbPort->setCurrentIndex(cbPort->count() > 0 ? 0 : -1);
  cbBaudRate->setCurrentIndex(kDefaultBaudRateIndex);
  SetMemoText({});
  ProgressbarReadWrite->SetProgress(0);
  if (PrepareFirmwareImage()) SetStatus(kImageReady);
}

void TMainForm::FillPortList() {
  QStringList ports = virtual_ports_;
  ports += desktop_.ListSerialPorts();  // raises before the box is touched
  cbPort->clear();
  cbPort->addItems(ports);
}

bool TMainForm::PrepareFirmwareImage() {
  ActivityScope scope(*this, Activity::Preparing);
  struct ShowTextAfterwards {
    TMainForm& form;
    ~ShowTextAfterwards() { form.ShowFirmwareText(); }  // upper-cased, whatever the outcome
  } show_text{*this};
  return PrepareImage(*this, firmware_text_, state_);
}

void TMainForm::ShowFirmwareText() {
  QString text = QString::fromStdString(firmware_text_.Text());
  // A final line break ends the last line; it does not begin another.
  for (QLatin1StringView line_break : {QLatin1StringView("\r\n"), QLatin1StringView("\n"), QLatin1StringView("\r")}) {
    if (text.endsWith(line_break)) {
      text.chop(line_break.size());
      break;
    }
  }
  TextTerminal->setPlainText(text);
}

void TMainForm::FormKeyDown(uint16_t& Key, Qt::KeyboardModifiers Shift) {
  switch (CommandForKey(Key, Shift)) {
    case KeyCommand::ShowHelp: ShowHelpWindow(); break;
    case KeyCommand::EngineeringView: OpenEngineeringView(); break;
    case KeyCommand::Stop: StopRun(); break;
    case KeyCommand::RefreshPorts: RefreshPortList(); break;
    case KeyCommand::ResetDevice: ResetDeviceCommand(); break;
    case KeyCommand::None: break;
  }
}

void TMainForm::ShowHelpWindow() {
  if (FormHelp) FormHelp->ShowForm();
}

void TMainForm::StopRun() { StopCommand(state_, *this); }

void TMainForm::ResetDeviceCommand() {
  // A reset in the middle of a run would leave the device half written and the run's
  // port closed under it.
  if (Busy()) return;
  ResetDevice(flasher_);
}

void TMainForm::ButtonConectClick() {
  if (Busy()) return;
  ActivityScope scope(*this, Activity::Identifying);
  zorvan::ButtonConectClick(flasher_);
}

void TMainForm::ButtonWriteClick() {
  // Also refuses a click between a stop command, which enables the button again, and
  // the run's next test of the stop request: a second run would start inside the first.
  if (Busy()) return;
  ActivityScope scope(*this, Activity::Programming);
  zorvan::ButtonWriteClick(flasher_);
}

void TMainForm::RefreshPortList() {
  // A new port list would not reach a run under way, but keeps the operator from
  // thinking the port could be changed in the middle of it.
  if (Busy()) return;
  FillPortList();
  cbPort->setCurrentIndex(cbPort->count() > 0 ? 0 : -1);
  ShowMessage(kPortsRefreshed);
}

void TMainForm::ButtonOpenHexClick() {
  // A new image in the middle of a run would mix two firmwares in one device.
  if (Busy()) return;
  OpenDialog1Filter = Text(kOpenDialogFilter);
  const QString chosen = desktop_.ChooseFileToOpen(this, OpenDialog1Filter, OpenDialog1FileName);
  if (chosen.isEmpty()) return;
  OpenDialog1FileName = chosen;
  firmware_text_.Assign(ReadTextFile(std::filesystem::path(chosen.toStdWString())));
  if (!PrepareFirmwareImage()) return;
  SetStatus(kFileOpenedHead + LastHexFileName() + kFileOpenedTail);
  ShowMessage(kFileOpenedMessage);
}

void TMainForm::cbPortChange() { Focus(Control::ButtonConect); }

void TMainForm::cbBaudRateChange() {
  // Every procedure applies the box's rate again before it opens the port; changing the
  // rate of the port a procedure is using would only garble its exchanges.
  if (Busy()) return;
  BComPort1->SetBaudRate(static_cast<TBaudRate>(cbBaudRate->currentIndex()));
}

void TMainForm::Label1Click() { desktop_.OpenDeviceManager(this); }

void TMainForm::sButton2Click() {
  MessageBeep(MB_ICONASTERISK);
  desktop_.OpenAddress(this, Text(kMakerSiteAddress));
}

void TMainForm::sButton3Click() {
  MessageBeep(MB_ICONASTERISK);
  ShowHelpWindow();
}

void TMainForm::FormResize() {
  repaint();
  QApplication::processEvents();
}

void TMainForm::FormActivate() {
  repaint();
  QApplication::processEvents();
}

void TMainForm::sComboBoxSkinNameChange() { sSkinManager1->SetSkinName(sComboBoxSkinName->currentText()); }

}  // namespace zorvan::app
