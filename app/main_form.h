#pragma once
// The main window: the port choice, the write button, the status label and the gauge, and
// in its engineering view the line rate, the detect and open buttons, the chunk bar, the
// calibration counters and the two small link buttons. It is the operator surface every
// long procedure acts through, and it holds the flasher's shared state.

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "common/operator_surface.h"
#include "firmware/hex_text.h"
#include "protocol/flasher.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace zorvan::app {

class Desktop;
class TFormHelp;
class TsBitBtn;
class TsGauge;
class TsLabel;
class TsPanel;
class TsSkinManager;

class TMainForm : public QWidget, public OperatorSurface {
  Q_OBJECT

 public:
  // `virtual_ports` are port paths that no system table lists (a pseudo-terminal, for
  // one); the port box offers them first, before the system's ports.
  TMainForm(Desktop& desktop, std::unique_ptr<PortOperations> port,
            QStringList virtual_ports = {}, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The help window that F1 and the help button show; created after this window.
  void SetFormHelp(TFormHelp* form_help);

  // The handlers.
  void FormCreate();
  void FormKeyDown(uint16_t& Key, Qt::KeyboardModifiers Shift);
  void FormResize();
  void FormActivate();
  void ButtonConectClick();
  void ButtonWriteClick();
  void ButtonOpenHexClick();
  void cbPortChange();
  void cbBaudRateChange();
  void Label1Click();
  void sButton2Click();
  void sButton3Click();
  void sComboBoxSkinNameChange();

  // The keyboard commands.
  void ShowHelpWindow();
  void OpenEngineeringView();
  void StopRun();
  void RefreshPortList();
  void ResetDeviceCommand();

  FlasherState& State() { return state_; }
  const HexText& FirmwareText() const { return firmware_text_; }
  PortOperations& Port() { return *BComPort1; }
  TsSkinManager& SkinManager() { return *sSkinManager1; }
  const QString& OpenDialogFilter() const { return OpenDialog1Filter; }
  const QString& OpenDialogFileName() const { return OpenDialog1FileName; }
  // True while an image is prepared or the device is identified or programmed: the
  // actions that would disturb that work are refused meanwhile.
  bool Busy() const { return activity_ != Activity::Idle; }

  // Runs a handler; an exception that ends it reaches the default exception display. A
  // port error there says what the system can tell of the chosen port besides (no
  // permission on it, a file named in its place), as the command line does: the port's
  // own text only asks the operator to restart the program.
  void Run(void (TMainForm::*handler)());

  // OperatorSurface.
  void SetGaugeMax(int64_t max) override;
  void SetGaugeProgress(int64_t progress) override;
  int64_t GaugeProgress() const override;
  void SetChunkBarMax(int max) override;
  void SetChunkBarPosition(int position) override;
  int ChunkBarPosition() const override;
  void SetStatus(const std::string& text) override;
  void SetCalibration(const std::string& text) override;
  void SetMemoText(const std::string& text) override;
  void AddMemoLine(const std::string& line) override;
  std::string MemoText() const override { return memo_about_text_; }
  void ClearFirmwareText() override;
  void SetEnabled(Control control, bool enabled) override;
  void Focus(Control control) override;
  std::string PortName() const override;
  int BaudRateIndex() const override;
  std::string LastHexFileName() const override;
  void ShowMessage(const std::string& text) override;
  void MessageBeep(unsigned type) override;
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void ProcessMessages() override;
  void BringToFront() override;
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override;

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  enum class Activity { Idle, Preparing, Identifying, Programming };
  class ActivityScope;

  void CreateControls();
  void SetTabOrder();
  void ConnectHandlers();
  void RunGuarded(const std::function<void()>& handler);
  // Fills the port box: the ports given on the command line, then the system's.
  void FillPortList();
  bool PrepareFirmwareImage();
  void ShowFirmwareText();
  QWidget* ControlWidget(Control control) const;
  int NonClientHeight() const;

  Desktop& desktop_;
  FlasherState state_;
  HexText firmware_text_;        // the text TextTerminal holds
  std::string memo_about_text_;  // the text MemoAbout holds, lines joined with CR LF
  QStringList virtual_ports_;
  Activity activity_ = Activity::Idle;
  bool centred_ = false;

  // Components.
  std::unique_ptr<PortOperations> BComPort1;
  Flasher flasher_;
  TsSkinManager* sSkinManager1 = nullptr;
  QString OpenDialog1Filter;
  QString OpenDialog1FileName;
  QPointer<TFormHelp> FormHelp;

  // Controls, as the window's description names them.
  TsPanel* sPanel1 = nullptr;
  TsLabel* Label1 = nullptr;
  QComboBox* cbPort = nullptr;
  TsBitBtn* ButtonWrite = nullptr;
  TsLabel* LabelNameOfHex = nullptr;
  TsGauge* ProgressbarReadWrite = nullptr;
  QLabel* Label3 = nullptr;
  QProgressBar* ProgressbarWrite = nullptr;
  QComboBox* cbBaudRate = nullptr;
  TsPanel* sPanel3 = nullptr;
  QPushButton* sButton2 = nullptr;
  QPushButton* sButton3 = nullptr;
  TsPanel* sPanel2 = nullptr;
  QPushButton* ButtonConect = nullptr;
  QPushButton* ButtonOpenHex = nullptr;
  QPlainTextEdit* MemoAbout = nullptr;
  QPlainTextEdit* TextTerminal = nullptr;
  QComboBox* sComboBoxSkinName = nullptr;
};

}  // namespace zorvan::app
