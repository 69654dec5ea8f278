#include "app/form_help.h"

#include "app/desktop.h"
#include "app/handler_guard.h"
#include "app/links.h"
#include "common/operator_surface.h"

namespace zorvan::app {

void TFormHelp::Handle(const std::function<void()>& body) { RunHandler(desktop_, body); }

void TFormHelp::ShowForm() {
  visibility_.Show();
  view_.Focus(HelpControl::Button1);
}

// F1 closes the window whatever the modifiers; the key is not consumed.
void TFormHelp::FormKeyDown(uint16_t& Key, ShiftState) {
  Handle([&] {
    if (Key == kKeyF1) CloseForm();
  });
}

void TFormHelp::Button1Click() {
  Handle([this] {
    desktop_.MessageBeep(MB_ICONASTERISK);
    CloseForm();
  });
}

void TFormHelp::sWebLabel1Click() {
  Handle([this] {
    desktop_.MessageBeep(MB_ICONASTERISK);
    desktop_.OpenAddress(view_, kHelpLinkAddress);
  });
}

void TFormHelp::FormClose() {
  Handle([this] { CloseForm(); });
}

void TFormHelp::FadeOutEnded() {
  Handle([this] { visibility_.FadeOutEnded(); });
}

}  // namespace zorvan::app
