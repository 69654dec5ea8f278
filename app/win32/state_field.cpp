#include "app/win32/state_field.h"

#include <algorithm>

#include "app/win32/form.h"
#include "app/win32/utf.h"

namespace zorvan::win32 {

void StateField::Create(const StateFieldCreateArgs& args) { CreatePainted(args.parent, args.bounds, 0); }

void StateField::Show(const StateLook& look) {
  if (look == look_) return;
  if (look.text != look_.text) SetText(look.text);
  look_ = look;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void StateField::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, SolidBrush(parent().background));
  const float radius = static_cast<float>(Scale(6));
  PaintRoundBox(dc, {area, radius, look_.fill, look_.fill, look_.fill, 0});
  if (look_.percent >= 0) {
    const LONG done = area.left + (area.right - area.left) * std::clamp(look_.percent, 0, 100) / 100;
    HRGN bar = CreateRectRgn(area.left, area.top, done, area.bottom);
    SelectClipRgn(dc, bar);
    PaintRoundBox(dc, {area, radius, look_.done, look_.done, look_.done, 0});
    SelectClipRgn(dc, nullptr);
    DeleteObject(bar);
  }
  const std::wstring text = Widen(look_.text);
  PaintText(dc, text.c_str(), area, form().Font(FontKind::Large), look_.ink,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

}  // namespace zorvan::win32
