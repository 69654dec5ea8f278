#include "app/win32/scroll_area.h"

#include <algorithm>

namespace zorvan::win32 {

namespace {

constexpr int kLineStep = 27;  // design pixels a click on the scroll bar's arrow moves

}  // namespace

void ScrollArea::Create(const ScrollAreaCreateArgs& args) {
  CreatePainted(args.parent, args.bounds, WS_CLIPCHILDREN | WS_VSCROLL, WS_EX_CONTROLPARENT);
  UpdateScrollBar();
}

void ScrollArea::SetContentHeight(int height) {
  content_height_ = height;
  UpdateScrollBar();
  ScrollTo(position_);
}

void ScrollArea::ApplyDpi() {
  // Its controls are laid out again from their designed places, as if not scrolled.
  position_ = 0;
  PaintedControl::ApplyDpi();
  UpdateScrollBar();
}

int ScrollArea::PageHeight() const {
  RECT client;
  GetClientRect(hwnd(), &client);
  return client.bottom;
}

void ScrollArea::UpdateScrollBar() {
  SCROLLINFO info = {sizeof info};
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(Scale(content_height_) - 1, 0);
  info.nPage = static_cast<UINT>(PageHeight());
  info.nPos = position_;
  SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
}

void ScrollArea::ScrollTo(int position) {
  position = std::clamp(position, 0, std::max(Scale(content_height_) - PageHeight(), 0));
  if (position == position_) return;
  ScrollWindowEx(hwnd(), 0, position_ - position, nullptr, nullptr, nullptr, nullptr,
                 SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  position_ = position;
  SetScrollPos(hwnd(), SB_VERT, position_, TRUE);
}

void ScrollArea::Paint(HDC dc, const RECT& area) { FillRect(dc, &area, SolidBrush(parent().background)); }

LRESULT ScrollArea::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ReflectNotification(message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_VSCROLL: {
      const int page = PageHeight();
      switch (LOWORD(wparam)) {
        case SB_LINEUP: ScrollTo(position_ - Scale(kLineStep)); break;
        case SB_LINEDOWN: ScrollTo(position_ + Scale(kLineStep)); break;
        case SB_PAGEUP: ScrollTo(position_ - page); break;
        case SB_PAGEDOWN: ScrollTo(position_ + page); break;
        case SB_TOP: ScrollTo(0); break;
        case SB_BOTTOM: ScrollTo(Scale(content_height_)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
          SCROLLINFO info = {sizeof info};
          info.fMask = SIF_TRACKPOS;
          GetScrollInfo(hwnd(), SB_VERT, &info);
          ScrollTo(info.nTrackPos);
          break;
        }
        default: break;
      }
      return 0;
    }
    case WM_MOUSEWHEEL:
      ScrollTo(position_ - MulDiv(GET_WHEEL_DELTA_WPARAM(wparam), Scale(3 * kLineStep), WHEEL_DELTA));
      return 0;
    default:
      return PaintedControl::HandleMessage(message, wparam, lparam);
  }
}

}  // namespace zorvan::win32
