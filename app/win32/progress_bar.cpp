#include "app/win32/progress_bar.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

namespace zorvan::win32 {

void ProgressBar::Create(const ProgressBarCreateArgs& args) {
  Control::Create({.parent = args.parent,
                   .window_class = PROGRESS_CLASSW,
                   .style = WS_VISIBLE | PBS_SMOOTH,
                   .bounds = args.bounds});
  // Unthemed, the bar has no glow to animate and stands where it is told at once. The
  // frame the control gives itself is not the skin's.
  SetWindowTheme(hwnd(), L"", L"");
  SetWindowLongPtrW(hwnd(), GWL_EXSTYLE, GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & ~WS_EX_STATICEDGE);
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetMax(100);
}

void ProgressBar::SetMax(int max) { SendMessageW(hwnd(), PBM_SETRANGE32, 0, max); }
int ProgressBar::Max() const { return static_cast<int>(SendMessageW(hwnd(), PBM_GETRANGE, FALSE, 0)); }
void ProgressBar::SetPosition(int position) { SendMessageW(hwnd(), PBM_SETPOS, position, 0); }
int ProgressBar::Position() const { return static_cast<int>(SendMessageW(hwnd(), PBM_GETPOS, 0, 0)); }

void ProgressBar::Paint(HDC dc, const RECT& area) {
  const int low = static_cast<int>(SendMessageW(hwnd(), PBM_GETRANGE, TRUE, 0));
  const int high = Max();
  const int width = area.right - area.left;
  const int filled = high > low ? static_cast<int>(static_cast<long long>(std::clamp(Position(), low, high) - low) *
                                                   width / (high - low))
                                : 0;
  PaintBar(dc, area, filled, parent().background, static_cast<float>(Scale(3)));
}

}  // namespace zorvan::win32
