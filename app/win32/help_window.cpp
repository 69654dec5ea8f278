#include "app/win32/help_window.h"

#include "app/win32/button.h"
#include "app/win32/label.h"

namespace zorvan::win32 {

using app::HelpControl;

HelpWindow::HelpWindow(const SkinPictures& pictures, HWND owner)
    : FormWindow(app::kFormHelpWindow, {.owner = owner}, app::kFormHelpControls, pictures) {
  As<Button>(HelpControl::Button1).onClick = [this] {
    if (form_) form_->Button1Click();
  };
  As<Label>(HelpControl::sWebLabel1).onClick = [this] {
    if (form_) form_->sWebLabel1Click();
  };
}

}  // namespace zorvan::win32
