#pragma once
// A form as its logic sees it: its controls named by an enumeration, with the acts every
// control shares (text, enabled state, visibility, focus) and the events of its buttons,
// labels and boxes reported with the control's name.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/control.h"
#include "app/win32/form.h"

namespace zorvan::win32 {

template <typename Id>
class FormView : public Form {
 public:
  using Form::IsVisible;

  void SetText(Id id, std::string_view utf8) { Get(id).SetText(utf8); }
  std::string Text(Id id) const { return Get(id).Text(); }
  void SetEnabled(Id id, bool enabled) { Get(id).SetEnabled(enabled); }
  bool IsEnabled(Id id) const { return Get(id).IsEnabled(); }
  void SetVisible(Id id, bool visible) { Get(id).SetVisible(visible); }
  bool IsVisible(Id id) const { return Get(id).IsVisible(); }
  void Focus(Id id) { Get(id).Focus(); }
  bool HasFocus(Id id) const { return Get(id).HasFocus(); }
  // The control's window, for what the view does not offer (tests, a dialog's owner).
  HWND HandleOf(Id id) const { return Get(id).hwnd(); }

  // A button or a clickable label was clicked.
  std::function<void(Id)> onClick;
  // The operator changed a box's selection or text.
  std::function<void(Id)> onChange;

 protected:
  // Gives `control` its name; every name is given once, as the control is made.
  void Name(Id id, Control& control) {
    const auto index = static_cast<size_t>(id);
    if (controls_.size() <= index) controls_.resize(index + 1, nullptr);
    controls_[index] = &control;
  }
  Control& Get(Id id) const { return *controls_.at(static_cast<size_t>(id)); }
  void RaiseClick(Id id) {
    if (onClick) onClick(id);
  }
  void RaiseChange(Id id) {
    if (onChange) onChange(id);
  }

 private:
  std::vector<Control*> controls_;
};

}  // namespace zorvan::win32
