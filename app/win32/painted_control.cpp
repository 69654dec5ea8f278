#include "app/win32/painted_control.h"

namespace zorvan::win32 {

void PaintedControl::CreatePainted(const Parent& parent, const Rect& bounds, DWORD style, DWORD ex_style) {
  Create({.parent = parent,
          .window_class = OwnWindowClass(),
          .style = WS_VISIBLE | WS_CLIPSIBLINGS | style,
          .ex_style = ex_style,
          .bounds = bounds});
}

void PaintedControl::PaintInto(HDC dc) {
  RECT client;
  GetClientRect(hwnd(), &client);
  MemoryCanvas canvas(dc, client);
  Paint(canvas.dc(), canvas.Area());
}

LRESULT PaintedControl::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the painting covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd(), &paint);
      PaintInto(dc);
      EndPaint(hwnd(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintInto(reinterpret_cast<HDC>(wparam));
      return 0;
    default:
      return Control::HandleMessage(message, wparam, lparam);
  }
}

}  // namespace zorvan::win32
