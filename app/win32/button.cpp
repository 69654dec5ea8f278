#include "app/win32/button.h"

#include "app/win32/picture.h"
#include "app/win32/utf.h"

namespace zorvan::win32 {

namespace {

// One state of a button as the skin paints it.
struct ButtonFace {
  COLORREF top;
  COLORREF bottom;
  COLORREF border;
  float border_width;
  COLORREF text;
};

ButtonFace WriteFace(bool disabled, bool pressed, bool hovered, bool focused) {
  if (disabled) return {RGB(0xd8, 0xc4, 0xc6), RGB(0xd8, 0xc4, 0xc6), RGB(0xc9, 0xb1, 0xb4), 1, RGB(0xf7, 0xee, 0xee)};
  const COLORREF border = focused ? RGB(0x3d, 0x0a, 0x0e) : RGB(0x6a, 0x0f, 0x15);
  const float width = focused ? 2.0f : 1.0f;
  if (pressed) return {RGB(0x67, 0x10, 0x1a), RGB(0x67, 0x10, 0x1a), border, width, RGB(255, 255, 255)};
  if (hovered) return {RGB(0xb0, 0x2a, 0x34), RGB(0x8a, 0x16, 0x1e), border, width, RGB(255, 255, 255)};
  return {RGB(0x9c, 0x22, 0x2b), RGB(0x7c, 0x12, 0x19), border, width, RGB(255, 255, 255)};
}

ButtonFace PlainFace(bool disabled, bool pressed, bool hovered, bool focused) {
  if (disabled) return {RGB(0xf1, 0xf3, 0xf5), RGB(0xf1, 0xf3, 0xf5), RGB(0xdd, 0xe2, 0xe7), 1, RGB(0xa3, 0xac, 0xb6)};
  const COLORREF border = hovered || focused ? colour::kAccent : RGB(0xc3, 0xcb, 0xd4);
  COLORREF fill = RGB(0xf7, 0xf9, 0xfb);
  if (pressed) {
    fill = RGB(0xe4, 0xe9, 0xef);
  } else if (hovered) {
    fill = RGB(0xff, 0xff, 0xff);
  }
  return {fill, fill, border, 1, colour::kText};
}

float RadiusOf(ButtonLook look) {
  switch (look) {
    case ButtonLook::Huge:
    case ButtonLook::Write:
      return 8;
    case ButtonLook::Dialog:
      return 5;
    case ButtonLook::Plain:
      break;
  }
  return 6;
}

}  // namespace

void Button::Create(const ButtonCreateArgs& args) {
  look_ = args.look;
  picture_ = args.picture;
  picture_size_ = args.picture_size;
  const bool bold = args.look == ButtonLook::Huge || args.look == ButtonLook::Write;
  Control::Create({.parent = args.parent,
                   .window_class = L"BUTTON",
                   .style = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                   .bounds = args.bounds,
                   .text = args.text,
                   .font = bold ? FontKind::Bold : FontKind::Normal,
                   .cursor = args.hand_cursor ? LoadCursorW(nullptr, IDC_HAND) : nullptr});
  if (!args.hint.empty()) SetHint(args.hint);
}

bool Button::OnCommand(WORD code) {
  // An owner-drawn button reports the second click of a double click on its own.
  if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return false;
  if (onClick) onClick();
  return true;
}

void Button::OnHover(bool) { InvalidateRect(hwnd(), nullptr, FALSE); }

bool Button::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const bool disabled = item.itemState & ODS_DISABLED;
  const bool pressed = item.itemState & ODS_SELECTED;
  const bool focused = item.itemState & ODS_FOCUS;
  const ButtonFace face = look_ == ButtonLook::Write ? WriteFace(disabled, pressed, Hovered(), focused)
                                                     : PlainFace(disabled, pressed, Hovered(), focused);
  MemoryCanvas canvas(item.hDC, item.rcItem);
  const RECT area = canvas.Area();
  FillRect(canvas.dc(), &area, SolidBrush(parent().background));
  PaintRoundBox(canvas.dc(), {area, static_cast<float>(Scale(static_cast<int>(RadiusOf(look_)))), face.top,
                              face.bottom, face.border, face.border_width * static_cast<float>(Scale(100)) / 100});
  PaintCaption(canvas.dc(), area, face.text);
  return true;
}

void Button::PaintCaption(HDC dc, RECT area, COLORREF colour) const {
  const std::wstring caption = Widen(Text());
  if (!picture_) {
    PaintText(dc, caption.c_str(), area, Font(), colour, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return;
  }
  const int side = Scale(picture_size_);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (caption.empty()) {
    const int left = (width - side) / 2;
    const int top = (height - side) / 2;
    picture_->Paint(dc, {left, top, left + side, top + side});
    return;
  }
  // The picture and the caption as one block, centred.
  RECT text = area;
  const HGDIOBJ old_font = SelectObject(dc, Font());
  DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old_font);
  const int text_height = text.bottom - text.top;
  const int gap = Scale(3);
  const int top = (height - (side + gap + text_height)) / 2 + Scale(2);
  const int left = (width - side) / 2;
  picture_->Paint(dc, {left, top, left + side, top + side});
  PaintText(dc, caption.c_str(), {0, top + side + gap, width, top + side + gap + text_height}, Font(), colour,
            DT_CENTER | DT_TOP | DT_SINGLELINE);
}

}  // namespace zorvan::win32
