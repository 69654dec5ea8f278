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
  const std::wstring text = Widen(look_.text);
  const HFONT font = form().Font(FontKind::Large);
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  if (look_.percent < 0) {
    PaintText(dc, text.c_str(), area, font, look_.ink, format);
    return;
  }
  const LONG edge = area.left + (area.right - area.left) * std::clamp(look_.percent, 0, 100) / 100;
  HRGN done = CreateRectRgn(area.left, area.top, edge, area.bottom);
  HRGN rest = CreateRectRgn(edge, area.top, area.right, area.bottom);
  SelectClipRgn(dc, done);
  PaintRoundBox(dc, {area, radius, look_.done, look_.done, look_.done, 0});
  PaintText(dc, text.c_str(), area, font, look_.done_ink, format);
  SelectClipRgn(dc, rest);
  PaintText(dc, text.c_str(), area, font, look_.ink, format);
  SelectClipRgn(dc, nullptr);
  DeleteObject(done);
  DeleteObject(rest);
}

}  // namespace zorvan::win32
