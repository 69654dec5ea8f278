// The main window as the operator surface of the long procedures.

#include <filesystem>

#include "app/desktop.h"
#include "app/main_form.h"
#include "app/utf8_path.h"

namespace zorvan::app {

namespace {

MainControl ControlOf(Control control) {
  switch (control) {
    case Control::ButtonWrite: return MainControl::ButtonWrite;
    case Control::ButtonConect: return MainControl::ButtonConect;
    case Control::ButtonOpenHex: return MainControl::ButtonOpenHex;
    case Control::cbPort: return MainControl::cbPort;
    case Control::cbBaudRate: return MainControl::cbBaudRate;
  }
  return MainControl::ButtonWrite;
}

}  // namespace

void TMainForm::SetGaugeMax(int64_t max) {
  gauge_.SetMaxValue(max);
  ShowGauge(false);
}

void TMainForm::SetGaugeProgress(int64_t progress) {
  gauge_.SetProgress(progress);
  ShowGauge(false);
}

void TMainForm::SetChunkBarMax(int max) {
  chunk_bar_max_ = max;
  view_.ShowBar(MainControl::ProgressbarWrite, chunk_bar_max_, chunk_bar_position_);
}

void TMainForm::SetChunkBarPosition(int position) {
  chunk_bar_position_ = position;
  view_.ShowBar(MainControl::ProgressbarWrite, chunk_bar_max_, chunk_bar_position_);
}

void TMainForm::SetStatus(const std::string& text) { SetControlText(MainControl::LabelNameOfHex, text); }
void TMainForm::SetCalibration(const std::string& text) { SetControlText(MainControl::Label3, text); }
void TMainForm::SetMemoText(const std::string& text) { SetControlText(MainControl::MemoAbout, text); }

void TMainForm::AddMemoLine(const std::string& line) {
  std::string& memo = At(MainControl::MemoAbout).text;
  if (!memo.empty()) memo += "\r\n";
  memo += line;
  view_.AddLine(MainControl::MemoAbout, line);
}

void TMainForm::ClearFirmwareText() {
  firmware_text_.Clear();
  SetControlText(MainControl::TextTerminal, {});
}

void TMainForm::SetEnabled(Control control, bool enabled) { SetControlEnabled(ControlOf(control), enabled); }
void TMainForm::Focus(Control control) { view_.Focus(ControlOf(control)); }

std::string TMainForm::PortName() const {
  const ControlState& box = At(MainControl::cbPort);
  return box.item_index >= 0 ? box.items[static_cast<size_t>(box.item_index)] : std::string();
}

std::string TMainForm::LastHexFileName() const {
  return Utf8FromPath(PathFromUtf8(OpenDialog1FileName).filename());
}

void TMainForm::ShowMessage(const std::string& text) { desktop_.ShowMessage(text); }
void TMainForm::MessageBeep(unsigned type) { desktop_.MessageBeep(type); }
void TMainForm::Beep(unsigned frequency_hz, unsigned duration_ms) { desktop_.Beep(frequency_hz, duration_ms); }
void TMainForm::ProcessMessages() { view_.ProcessMessages(); }
void TMainForm::BringToFront() { view_.BringApplicationToFront(); }
void TMainForm::Sleep(unsigned milliseconds) { desktop_.Sleep(milliseconds); }
std::string TMainForm::TimeOfDay() const { return desktop_.TimeOfDay(); }

}  // namespace zorvan::app
