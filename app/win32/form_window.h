#pragma once
// What the two forms' windows share: the controls their descriptions list, showing,
// hiding and fading as their forms say, and the keys, the close box and the end of a
// fade handed to the form.

#include <memory>
#include <span>
#include <vector>

#include "app/form_description.h"
#include "app/keyboard_commands.h"
#include "app/win32/described_controls.h"
#include "app/win32/form.h"

namespace zorvan::win32 {

// The logic's modifier set for the modifiers held at a key press.
inline app::ShiftState ShiftStateOf(const KeyModifiers& modifiers) {
  app::ShiftState shift;
  if (modifiers.shift) shift = shift | app::Modifier::Shift;
  if (modifiers.alt) shift = shift | app::Modifier::Alt;
  if (modifiers.ctrl) shift = shift | app::Modifier::Ctrl;
  return shift;
}

// `View` is the form's view interface, `Logic` the form that serves it, `Id` the names
// of its controls.
template <typename View, typename Logic, typename Id>
class FormWindow : public Form, public View {
 public:
  // The form the operator's acts go to from now on; nullptr: none, as before the form is
  // made and once it is gone.
  void Connect(Logic* logic) { form_ = logic; }

  // The control the description names `id`.
  Control& At(Id id) const { return *controls_[static_cast<size_t>(id)]; }

  void ShowWindow() override { ShowTransparent(); }
  void HideWindow() override { HideNow(); }
  void BringToFront() override { Form::BringToFront(); }
  void FadeIn(int milliseconds) override { Form::FadeIn(milliseconds); }
  void FadeOut(int milliseconds) override { Form::FadeOut(milliseconds); }
  void CancelFade() override { Form::CancelFade(); }

 protected:
  // Makes the window hidden, from `window`'s description and `args` (the rest of what
  // it needs), with every control of `rows`.
  FormWindow(const app::WindowDescription& window, FormCreateArgs args,
             std::span<const app::ControlDescription> rows, const SkinPictures& pictures) {
    args.caption = window.caption;
    args.client_width = window.client_width;
    args.client_height = window.client_height;
    args.border = window.dialog_border ? FormBorder::Dialog : FormBorder::Single;
    if (window.designed_position) args.position = {window.left, window.top};
    Create(args);
    controls_ = MakeDescribedControls(*this, rows, pictures);
    onKeyDown = [this](uint16_t key, KeyModifiers modifiers) {
      if (form_) form_->FormKeyDown(key, ShiftStateOf(modifiers));
    };
    onClose = [this] {
      if (form_) {
        form_->FormClose();
      } else {
        HideNow();
      }
    };
    onFadeOutEnded = [this] {
      if (form_) form_->FadeOutEnded();
    };
  }

  template <typename Kind>
  Kind& As(Id id) const {
    return static_cast<Kind&>(At(id));
  }

  Logic* form_ = nullptr;

 private:
  std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace zorvan::win32
