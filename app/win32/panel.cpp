#include "app/win32/panel.h"

namespace zorvan::win32 {

void Panel::Create(const PanelCreateArgs& args) {
  CreatePainted(args.parent, args.bounds, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void Panel::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, SolidBrush(parent().background));
  PaintRoundBox(dc, {area, static_cast<float>(Scale(8)), colour::kPanel, colour::kPanel, colour::kPanelBorder,
                     static_cast<float>(Scale(100)) / 100});
}

LRESULT Panel::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ReflectNotification(message, wparam, lparam, result)) return result;
  return PaintedControl::HandleMessage(message, wparam, lparam);
}

}  // namespace zorvan::win32
