#include "app/win32/label.h"

#include "app/win32/form.h"
#include "app/win32/utf.h"

namespace zorvan::win32 {

void Label::Create(const LabelCreateArgs& args) {
  colour_ = args.colour;
  auto_size_ = args.auto_size;
  // SS_NOTIFY: a static control is otherwise transparent to the mouse, so it could be
  // neither clicked nor given a tooltip. A label sized to its caption is one line: a
  // wrapping one would break a new, longer caption at its old width when it repaints
  // before it grows.
  const DWORD alignment = args.centred ? SS_CENTER : args.auto_size ? SS_LEFTNOWORDWRAP : SS_LEFT;
  Control::Create({.parent = args.parent,
                   .window_class = L"STATIC",
                   .style = static_cast<DWORD>(WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | alignment),
                   .bounds = args.bounds,
                   .text = args.text,
                   .cursor = args.hand_cursor ? LoadCursorW(nullptr, IDC_HAND) : nullptr});
  if (!args.hint.empty()) SetHint(args.hint);
  FitToText();
}

void Label::SetText(std::string_view utf8) {
  Control::SetText(utf8);
  FitToText();
}

void Label::ApplyDpi() {
  Control::ApplyDpi();
  FitToText();
}

void Label::FitToText() {
  if (!auto_size_ || !hwnd()) return;
  const std::wstring text = Widen(Text());
  HDC dc = GetDC(hwnd());
  const HGDIOBJ old_font = SelectObject(dc, Font());
  RECT extent = {0, 0, 0, 0};
  // A caption of several lines (the help window's keys) is as tall as its lines.
  const UINT lines = text.find(L'\n') == std::wstring::npos ? DT_SINGLELINE : 0;
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &extent, DT_CALCRECT | lines | DT_NOPREFIX);
  SelectObject(dc, old_font);
  ReleaseDC(hwnd(), dc);
  RECT before;
  GetWindowRect(hwnd(), &before);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&before), 2);
  SetWindowPos(hwnd(), nullptr, 0, 0, text.empty() ? 0 : extent.right, extent.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The caption drawn at the old size is drawn again whole, and what a longer caption
  // left behind belongs to the parent again.
  InvalidateRect(hwnd(), nullptr, TRUE);
  InvalidateRect(GetParent(hwnd()), &before, TRUE);
}

bool Label::OnCommand(WORD code) {
  if (code != STN_CLICKED) return false;
  if (onClick) onClick();
  return true;
}

HBRUSH Label::OnCtlColor(HDC dc) {
  SetTextColor(dc, TextColour());
  SetBkColor(dc, parent().background);
  return SolidBrush(parent().background);
}

void LinkLabel::Create(const LabelCreateArgs& args) {
  LabelCreateArgs link = args;
  link.hand_cursor = true;
  Label::Create(link);
}

COLORREF LinkLabel::TextColour() const { return Hovered() ? colour::kText : Label::TextColour(); }

void LinkLabel::OnHover(bool hovered) {
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(form().Font(hovered ? FontKind::Underlined
                                                                                  : FontKind::Normal)),
               TRUE);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

}  // namespace zorvan::win32
