#include "app/main_form.h"

#include "app/app_texts.h"
#include "app/desktop.h"
#include "app/form_help.h"
#include "app/handler_guard.h"
#include "firmware/embedded_firmware.h"
#include "serial/bcport.h"

namespace zorvan::app {

TMainForm::TMainForm(MainFormView& view, Desktop& desktop, std::unique_ptr<PortOperations> port,
                     std::vector<std::string> virtual_ports)
    : view_(view),
      desktop_(desktop),
      virtual_ports_(std::move(virtual_ports)),
      visibility_(view, kMainFormWindow),
      BComPort1(std::move(port)),
      flasher_{state_, *this, *BComPort1} {
  for (size_t i = 0; i < kMainControlCount; ++i) controls_[i].text = kMainFormControls[i].caption;
  SetControlItems(MainControl::cbBaudRate, {kBaudRateItems.begin(), kBaudRateItems.end()});
  ShowGauge(true);
  view_.ShowBar(MainControl::ProgressbarWrite, chunk_bar_max_, chunk_bar_position_);
  firmware_text_.Assign(std::string(EmbeddedFirmware));
  ShowFirmwareText();
}

TMainForm::~TMainForm() = default;

void TMainForm::Handle(const std::function<void()>& body) {
  RunHandler(desktop_, body, [this] { return PortAccessHint(PortName()); });
}

void TMainForm::Show() {
  if (!centred_) {
    centred_ = true;
    view_.CentreOnScreen();
  }
  visibility_.Show();
}

void TMainForm::ShowFirmwareText() {
  std::string text = firmware_text_.Text();
  // A final line break ends the last line; it does not begin another.
  for (const std::string_view line_break : {"\r\n", "\n", "\r"}) {
    if (text.ends_with(line_break)) {
      text.resize(text.size() - line_break.size());
      break;
    }
  }
  SetControlText(MainControl::TextTerminal, std::move(text));
}

// The image preparation moves the gauge a million times; only a change that shows is
// worth telling the view.
void TMainForm::ShowGauge(bool always) {
  const GaugeDisplay display = GaugeDisplay::Of(gauge_);
  if (!always && display == shown_gauge_) return;
  shown_gauge_ = display;
  view_.ShowGauge(MainControl::ProgressbarReadWrite, display.filled, display.Caption("%"));
}

void TMainForm::SetControlText(MainControl control, std::string text) {
  At(control).text = std::move(text);
  view_.SetText(control, At(control).text);
}

void TMainForm::SetControlEnabled(MainControl control, bool enabled) {
  At(control).enabled = enabled;
  view_.SetEnabled(control, enabled);
}

void TMainForm::SetControlItems(MainControl box, std::vector<std::string> items) {
  At(box).items = std::move(items);
  At(box).item_index = -1;
  view_.SetItems(box, At(box).items);
}

void TMainForm::SetControlItemIndex(MainControl box, int index) {
  TakeItemIndex(box, index);
  view_.SetItemIndex(box, At(box).item_index);
}

void TMainForm::TakeItemIndex(MainControl box, int index) {
  const bool listed = index >= 0 && static_cast<size_t>(index) < At(box).items.size();
  At(box).item_index = listed ? index : -1;
}

void StartProgram(Desktop& desktop, TMainForm& main_form) {
  desktop.SetApplicationTitle(kProvisionalTitle);
  main_form.FormCreate();
  main_form.Show();
}

}  // namespace zorvan::app
