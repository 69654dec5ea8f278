#pragma once
// The help window's view: its controls as the window's description makes them
// (kFormHelpControls, kFormHelpWindow), named by HelpControl.
//
// How a view serves TFormHelp: made hidden, at the described place, before its form;
// forwards a click on "ОК" to Button1Click, a click on the link to sWebLabel1Click, each
// key press to FormKeyDown before the focused control sees it (the key preview; the key
// goes on to the control afterwards), and the window's close box to FormClose. All calls
// come on the GUI thread.

#include "app/form_description.h"
#include "app/window_view.h"

namespace zorvan::app {

class HelpFormView : public WindowView {
 public:
  virtual void Focus(HelpControl control) = 0;
};

}  // namespace zorvan::app
