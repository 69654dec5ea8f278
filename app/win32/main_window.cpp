#include "app/win32/main_window.h"

#include "app/win32/button.h"
#include "app/win32/combo_box.h"
#include "app/win32/gauge.h"
#include "app/win32/label.h"
#include "app/win32/memo.h"
#include "app/win32/message_loop.h"
#include "app/win32/progress_bar.h"
#include "app/win32/resource_ids.h"

namespace zorvan::win32 {

using app::MainControl;
using app::TMainForm;

namespace {

// Marks the form's own changes for as long as one lasts.
class FormsChange {
 public:
  explicit FormsChange(bool& changing) : changing_(changing), before_(changing) { changing_ = true; }
  ~FormsChange() { changing_ = before_; }
  FormsChange(const FormsChange&) = delete;
  FormsChange& operator=(const FormsChange&) = delete;

 private:
  bool& changing_;
  bool before_;
};

}  // namespace

MainWindow::MainWindow(const SkinPictures& pictures)
    : FormWindow(app::kMainFormWindow, {.icon = ZORVAN_IDI_PROGRAM, .ends_program = true}, app::kMainFormControls,
                 pictures) {
  std::vector<const Control*> chain;
  for (const MainControl control : app::kMainFormTabChain) chain.push_back(&At(control));
  SetTabChain(std::move(chain));
  ForwardEvents();
}

void MainWindow::ForwardEvents() {
  for (const app::MainFormClick& click : app::kMainFormClicks) {
    const MainControl control = click.control;
    auto run = [this, handler = click.handler] {
      if (form_) (form_->*handler)();
    };
    if (control == MainControl::Label1) {
      As<Label>(control).onClick = run;
    } else {
      As<Button>(control).onClick = run;
    }
  }
  const auto on_pick = [this](MainControl box, void (TMainForm::*handler)(int)) {
    As<ComboBox>(box).onSelectionChanged = [this, box, handler] {
      if (form_ && !changing_) (form_->*handler)(As<ComboBox>(box).Selection());
    };
  };
  on_pick(MainControl::cbPort, &TMainForm::cbPortChange);
  on_pick(MainControl::cbBaudRate, &TMainForm::cbBaudRateChange);
  As<ComboBox>(MainControl::sComboBoxSkinName).onTextChanged = [this] {
    if (form_ && !changing_) form_->sComboBoxSkinNameChange(At(MainControl::sComboBoxSkinName).Text());
  };
  onResize = [this] {
    if (form_) form_->FormResize();
  };
  onActivate = [this] {
    if (form_) form_->FormActivate();
  };
}

void MainWindow::SetText(MainControl control, const std::string& text) {
  const FormsChange change(changing_);
  At(control).SetText(text);
}

void MainWindow::AddLine(MainControl memo, const std::string& line) { As<Memo>(memo).AppendLine(line); }

void MainWindow::SetItems(MainControl box, const std::vector<std::string>& items) {
  const FormsChange change(changing_);
  As<ComboBox>(box).SetItems(items);
  As<ComboBox>(box).SetSelection(-1);
}

void MainWindow::SetItemIndex(MainControl box, int index) {
  const FormsChange change(changing_);
  As<ComboBox>(box).SetSelection(index);
}

void MainWindow::ShowGauge(MainControl gauge, int filled, const std::string& caption) {
  As<Gauge>(gauge).Show(filled, caption);
}

void MainWindow::ShowBar(MainControl bar, int max, int position) {
  As<ProgressBar>(bar).SetMax(max);
  As<ProgressBar>(bar).SetPosition(position);
}

namespace {

BOOL CALLBACK RaiseIfVisible(HWND window, LPARAM) {
  if (IsWindowVisible(window)) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return TRUE;
}

}  // namespace

void MainWindow::BringApplicationToFront() {
  EnumThreadWindows(GetCurrentThreadId(), RaiseIfVisible, 0);
  if (IsVisible()) Form::BringToFront();
}

void MainWindow::ProcessMessages() { ProcessPendingMessages(); }

}  // namespace zorvan::win32
