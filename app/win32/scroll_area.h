#pragma once
// An area that holds controls of its own, taller than itself when they need it: a
// vertical scroll bar then shows, and the scroll bar and the mouse wheel move them.
// Tab moves into and out of it as if its controls were the form's.

#include "app/win32/painted_control.h"

namespace zorvan::win32 {

struct ScrollAreaCreateArgs {
  Parent parent;
  Rect bounds;
};

class ScrollArea : public PaintedControl {
 public:
  void Create(const ScrollAreaCreateArgs& args);
  // The area as the parent of the controls it holds, placed as if it were not scrolled.
  Parent AsParent() { return {&form(), hwnd(), parent().background}; }

  // Back to the top: before controls are placed in it.
  void ScrollToTop() { ScrollTo(0); }
  // The height of what it holds, in design pixels.
  void SetContentHeight(int height);

  void ApplyDpi() override;

 protected:
  void Paint(HDC dc, const RECT& area) override;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void ScrollTo(int position);
  void UpdateScrollBar();
  int PageHeight() const;

  int content_height_ = 0;  // design pixels
  int position_ = 0;        // pixels scrolled
};

}  // namespace zorvan::win32
