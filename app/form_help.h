#pragma once
// The help window's logic: the maker's emblem, a link to the maker's web site and a
// button that closes it. Not modal: the main window and any run go on while it is open.
// Tells its view (app/form_help_view.h) what to do.

#include <cstdint>
#include <functional>

#include "app/form_help_view.h"
#include "app/form_visibility.h"
#include "app/keyboard_commands.h"

namespace zorvan::app {

class Desktop;

class TFormHelp {
 public:
  // Nothing is done at the window's creation: it stays hidden until shown.
  TFormHelp(HelpFormView& view, Desktop& desktop)
      : view_(view), desktop_(desktop), visibility_(view, kFormHelpWindow) {}

  // Makes the window visible, brings it to the front and gives "ОК" the focus; a window
  // already showing only comes to the front.
  void ShowForm();
  // Hides the window; it can be shown again.
  void CloseForm() { visibility_.Close(); }
  bool Visible() const { return visibility_.Visible(); }

  // The handlers, called by the view; an exception that ends one is shown.
  void FormKeyDown(uint16_t& Key, ShiftState Shift);
  void Button1Click();
  void sWebLabel1Click();
  void FormClose();     // the window's close box
  void FadeOutEnded();  // the view's fade-out has ended

 private:
  void Handle(const std::function<void()>& body);

  HelpFormView& view_;
  Desktop& desktop_;
  FormVisibility visibility_;
};

}  // namespace zorvan::app
