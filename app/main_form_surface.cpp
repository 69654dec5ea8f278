// The main window as the operator surface of the long procedures.

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProgressBar>

#include "app/desktop.h"
#include "app/main_form.h"
#include "app/ts_controls.h"
#include "app/ts_gauge.h"

namespace zorvan::app {

void TMainForm::SetGaugeMax(int64_t max) { ProgressbarReadWrite->SetMaxValue(max); }
void TMainForm::SetGaugeProgress(int64_t progress) { ProgressbarReadWrite->SetProgress(progress); }
int64_t TMainForm::GaugeProgress() const { return ProgressbarReadWrite->Progress(); }

void TMainForm::SetChunkBarMax(int max) { ProgressbarWrite->setMaximum(max); }
void TMainForm::SetChunkBarPosition(int position) { ProgressbarWrite->setValue(position); }
int TMainForm::ChunkBarPosition() const { return ProgressbarWrite->value(); }

void TMainForm::SetStatus(const std::string& text) {
  LabelNameOfHex->setText(QString::fromStdString(text));
  LabelNameOfHex->adjustSize();
}

void TMainForm::SetCalibration(const std::string& text) {
  Label3->setText(QString::fromStdString(text));
  Label3->adjustSize();
}

void TMainForm::SetMemoText(const std::string& text) {
  memo_about_text_ = text;
  MemoAbout->setPlainText(QString::fromStdString(text));
}

void TMainForm::AddMemoLine(const std::string& line) {
  if (!memo_about_text_.empty()) memo_about_text_ += "\r\n";
  memo_about_text_ += line;
  MemoAbout->appendPlainText(QString::fromStdString(line));
}

void TMainForm::ClearFirmwareText() {
  firmware_text_.Clear();
  TextTerminal->clear();
}

void TMainForm::SetEnabled(Control control, bool enabled) { ControlWidget(control)->setEnabled(enabled); }
void TMainForm::Focus(Control control) { ControlWidget(control)->setFocus(Qt::OtherFocusReason); }

std::string TMainForm::PortName() const { return cbPort->currentText().toStdString(); }
int TMainForm::BaudRateIndex() const { return cbBaudRate->currentIndex(); }

std::string TMainForm::LastHexFileName() const {
  return QFileInfo(OpenDialog1FileName).fileName().toStdString();
}

void TMainForm::ShowMessage(const std::string& text) { desktop_.ShowMessage(QString::fromStdString(text)); }
void TMainForm::MessageBeep(unsigned type) { desktop_.MessageBeep(type); }
void TMainForm::Beep(unsigned frequency_hz, unsigned duration_ms) { desktop_.Beep(frequency_hz, duration_ms); }
void TMainForm::ProcessMessages() { QApplication::processEvents(); }
void TMainForm::Sleep(unsigned milliseconds) { desktop_.Sleep(milliseconds); }
std::string TMainForm::TimeOfDay() const { return desktop_.TimeOfDay().toStdString(); }

void TMainForm::BringToFront() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible() && window->windowType() != Qt::Popup && window->windowType() != Qt::ToolTip) {
      window->raise();
    }
  }
  if (isVisible()) activateWindow();
}

}  // namespace zorvan::app
