#pragma once
// The help window on Windows: the view of TFormHelp, a small dialog-bordered window with
// the maker's emblem, the link to the maker's site and the "ОК" button.

#include "app/form_help_view.h"
#include "app/win32/form_window.h"
#include "app/win32/forms.h"

namespace zorvan::win32 {

class HelpWindow : public FormWindow<app::HelpFormView, app::TFormHelp, app::HelpControl> {
 public:
  // Made hidden, at its designed place. `owner` is the main window: the help window
  // stays above it.
  HelpWindow(const SkinPictures& pictures, HWND owner);

  // HelpFormView.
  void Focus(app::HelpControl control) override { At(control).Focus(); }
};

}  // namespace zorvan::win32
