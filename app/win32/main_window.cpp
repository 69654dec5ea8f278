#include "app/win32/main_window.h"

#include <stdexcept>

#include "app/win32/resource_ids.h"
#include "app/win32/skin_pictures.h"
#include "app/win32/window_texts.h"

namespace zorvan::win32 {

MainWindow::MainWindow(const SkinPictures& pictures) {
  Create({.client_width = kClientWidth,
          .client_height = kNormalClientHeight,
          .border = FormBorder::Single,
          .icon = ZORVAN_IDI_PROGRAM,
          .fade_milliseconds = 70,
          .centred = true,
          .ends_program = true});
  CreateControls(pictures);
  ConnectEvents();
  onClose = [this] { Close(); };
}

// Made in the tab order of each parent: the system moves Tab through siblings in the
// order they were made. The link panel is made before the detect panel, whose right end
// it overlaps, so that its buttons are drawn whole; Tab therefore reaches it first.
void MainWindow::CreateControls(const SkinPictures& pictures) {
  const Parent window = AsParent();
  MemoAbout.Create({.parent = window, .bounds = {392, 16, 305, 681}, .font = FontKind::Memo15, .visible = false,
                    .hint = text::kMemoAboutHint});
  Name(MainControl::MemoAbout, MemoAbout);
  TextTerminal.Create({.parent = window, .bounds = {-288, 320, 465, 225}, .font = FontKind::Memo16, .visible = false});
  Name(MainControl::TextTerminal, TextTerminal);
  sComboBoxSkinName.Create({.parent = window, .bounds = {32, 760, 145, 21}, .editable = true,
                            .text = text::kSkinNameAtCreation});
  Name(MainControl::sComboBoxSkinName, sComboBoxSkinName);
  ProgressbarWrite.Create({.parent = window, .bounds = {8, 167, 265, 9}});
  Name(MainControl::ProgressbarWrite, ProgressbarWrite);

  sPanel1.Create({.parent = window, .bounds = {7, 8, 314, 73}});
  Name(MainControl::sPanel1, sPanel1);
  const Parent panel1 = sPanel1.AsParent();
  cbPort.Create({.parent = panel1, .bounds = {30, 37, 73, 21}, .hint = text::kPortBoxHint, .hand_cursor = true});
  Name(MainControl::cbPort, cbPort);
  ButtonWrite.Create({.parent = panel1, .bounds = {161, 6, 96, 60}, .text = text::kWriteCaption,
                      .look = ButtonLook::Write, .picture = &pictures.write_button, .picture_size = 26});
  Name(MainControl::ButtonWrite, ButtonWrite);
  Label1.Create({.parent = panel1, .bounds = {49, 17, 28, 13}, .text = text::kPortCaption, .colour = colour::kLabel,
                 .hint = text::kLabel1Hint});
  Name(MainControl::Label1, Label1);

  sPanel3.Create({.parent = window, .bounds = {248, 200, 41, 153}});
  Name(MainControl::sPanel3, sPanel3);
  const Parent panel3 = sPanel3.AsParent();
  sButton2.Create({.parent = panel3, .bounds = {8, 12, 25, 57}, .look = ButtonLook::Dialog,
                   .picture = &pictures.maker_site, .hint = text::kMakerSiteHint});
  Name(MainControl::sButton2, sButton2);
  sButton3.Create({.parent = panel3, .bounds = {8, 84, 25, 57}, .look = ButtonLook::Dialog,
                   .picture = &pictures.about, .hint = text::kAboutHint});
  Name(MainControl::sButton3, sButton3);

  sPanel2.Create({.parent = window, .bounds = {8, 224, 265, 81}});
  Name(MainControl::sPanel2, sPanel2);
  const Parent panel2 = sPanel2.AsParent();
  ButtonConect.Create({.parent = panel2, .bounds = {31, 16, 81, 57}, .text = text::kDetectCaption,
                       .look = ButtonLook::Huge, .hand_cursor = true});
  Name(MainControl::ButtonConect, ButtonConect);
  ButtonOpenHex.Create({.parent = panel2, .bounds = {152, 16, 81, 57}, .text = text::kOpenCaption,
                        .look = ButtonLook::Huge, .hint = text::kOpenHint, .hand_cursor = true});
  Name(MainControl::ButtonOpenHex, ButtonOpenHex);

  cbBaudRate.Create({.parent = window, .bounds = {16, 190, 81, 21}, .hint = text::kBaudRateHint,
                     .hand_cursor = true});
  Name(MainControl::cbBaudRate, cbBaudRate);
  cbBaudRate.SetItems({text::kBaudRateItems.begin(), text::kBaudRateItems.end()});

  LabelNameOfHex.Create({.parent = window, .bounds = {10, 87, 86, 13}, .text = text::kStatusAtCreation,
                         .colour = colour::kLabel});
  Name(MainControl::LabelNameOfHex, LabelNameOfHex);
  ProgressbarReadWrite.Create({.parent = window, .bounds = {6, 104, 315, 17}, .suffix = "%"});
  Name(MainControl::ProgressbarReadWrite, ProgressbarReadWrite);
  Label3.Create({.parent = window, .bounds = {12, 149, 110, 13}, .text = text::kCalibrationAtCreation,
                 .colour = colour::kCalibration});
  Name(MainControl::Label3, Label3);
}

void MainWindow::ConnectEvents() {
  const auto click = [this](Button& button, MainControl id) { button.onClick = [this, id] { RaiseClick(id); }; };
  click(ButtonWrite, MainControl::ButtonWrite);
  click(ButtonConect, MainControl::ButtonConect);
  click(ButtonOpenHex, MainControl::ButtonOpenHex);
  click(sButton2, MainControl::sButton2);
  click(sButton3, MainControl::sButton3);
  Label1.onClick = [this] { RaiseClick(MainControl::Label1); };
  cbPort.onSelectionChanged = [this] { RaiseChange(MainControl::cbPort); };
  cbBaudRate.onSelectionChanged = [this] { RaiseChange(MainControl::cbBaudRate); };
  sComboBoxSkinName.onTextChanged = [this] { RaiseChange(MainControl::sComboBoxSkinName); };
}

ComboBox& MainWindow::BoxOf(MainControl id) const {
  auto* self = const_cast<MainWindow*>(this);
  switch (id) {
    case MainControl::cbPort: return self->cbPort;
    case MainControl::cbBaudRate: return self->cbBaudRate;
    case MainControl::sComboBoxSkinName: return self->sComboBoxSkinName;
    default: throw std::invalid_argument("the main window has no such combo box");
  }
}

Memo& MainWindow::MemoOf(MainControl id) const {
  auto* self = const_cast<MainWindow*>(this);
  switch (id) {
    case MainControl::MemoAbout: return self->MemoAbout;
    case MainControl::TextTerminal: return self->TextTerminal;
    default: throw std::invalid_argument("the main window has no such memo");
  }
}

void MainWindow::SetItems(MainControl box, const std::vector<std::string>& items) { BoxOf(box).SetItems(items); }
std::vector<std::string> MainWindow::Items(MainControl box) const { return BoxOf(box).Items(); }
void MainWindow::SetSelection(MainControl box, int index) { BoxOf(box).SetSelection(index); }
int MainWindow::Selection(MainControl box) const { return BoxOf(box).Selection(); }

void MainWindow::SetGaugeMax(int64_t max) { ProgressbarReadWrite.SetMaxValue(max); }
void MainWindow::SetGaugeProgress(int64_t progress) { ProgressbarReadWrite.SetProgress(progress); }
int64_t MainWindow::GaugeProgress() const { return ProgressbarReadWrite.Values().Progress(); }
std::string MainWindow::GaugeCaption() const { return ProgressbarReadWrite.Caption(); }

void MainWindow::SetChunkBarMax(int max) { ProgressbarWrite.SetMax(max); }
void MainWindow::SetChunkBarPosition(int position) { ProgressbarWrite.SetPosition(position); }
int MainWindow::ChunkBarPosition() const { return ProgressbarWrite.Position(); }

void MainWindow::AppendMemoLine(MainControl memo, std::string_view line) { MemoOf(memo).AppendLine(line); }

}  // namespace zorvan::win32
