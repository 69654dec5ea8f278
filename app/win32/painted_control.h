#pragma once
// A control of the kit's own window class that paints itself whole, through a bitmap:
// the panel, the gauge and the picture box.

#include "app/win32/control.h"

namespace zorvan::win32 {

class PaintedControl : public Control {
 protected:
  void CreatePainted(const Parent& parent, const Rect& bounds, DWORD style, DWORD ex_style = 0);
  // Paints the whole client area, `area`, into `dc`.
  virtual void Paint(HDC dc, const RECT& area) = 0;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintInto(HDC dc);
};

}  // namespace zorvan::win32
