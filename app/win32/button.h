#pragma once
// Push buttons drawn in the skin: the plain button, the large BUTTON_HUGE and small
// DIALOG kinds, and the write button, maroon with its picture above its caption.

#include <functional>
#include <string>

#include "app/win32/control.h"

namespace zorvan::win32 {

class Picture;

enum class ButtonLook { Plain, Huge, Dialog, Write };

struct ButtonCreateArgs {
  Parent parent;
  Rect bounds;
  std::string text;
  ButtonLook look = ButtonLook::Plain;
  // Drawn above the caption, or in the middle of a button without one.
  const Picture* picture = nullptr;
  int picture_size = 16;  // design pixels, square
  std::string hint;
  bool hand_cursor = false;
};

class Button : public Control {
 public:
  void Create(const ButtonCreateArgs& args);

  // A click, the Space key on the focused button, or Enter while it has the focus.
  std::function<void()> onClick;

 protected:
  bool OnCommand(WORD code) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
  void OnHover(bool) override;

 private:
  void PaintCaption(HDC dc, RECT area, COLORREF colour) const;

  ButtonLook look_ = ButtonLook::Plain;
  const Picture* picture_ = nullptr;
  int picture_size_ = 16;
};

}  // namespace zorvan::win32
