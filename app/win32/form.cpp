#include "app/win32/form.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <system_error>

#include "app/win32/utf.h"

namespace zorvan::win32 {

namespace {

constexpr wchar_t kFormProperty[] = L"Zorvan.Form";
constexpr UINT_PTR kSubclassId = 1;
constexpr int kHintWidth = 300;  // design pixels; longer hints wrap
constexpr UINT_PTR kFadeTimer = 1;
constexpr UINT kFadeStepMilliseconds = 10;

DWORD StyleOf(FormBorder border) {
  const DWORD common = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  return border == FormBorder::Single ? common | WS_MINIMIZEBOX : common;
}

DWORD ExStyleOf(FormBorder border) {
  return border == FormBorder::Single ? WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME;
}

}  // namespace

Form::~Form() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  RemovePropW(hwnd_, kFormProperty);
  DestroyWindow(hwnd_);
  if (big_icon_) DestroyIcon(big_icon_);
  if (small_icon_) DestroyIcon(small_icon_);
}

void Form::Create(const FormCreateArgs& args) {
  icon_ = args.icon;
  background_ = args.background;
  ends_program_ = args.ends_program;
  const FormBorder border = args.border;
  hwnd_ = CreateWindowExW(ExStyleOf(border), OwnWindowClass(), Widen(args.caption).c_str(), StyleOf(border),
                          args.position.x, args.position.y, 0, 0, args.owner, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  if (!hwnd_) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateWindowExW");
  SetPropW(hwnd_, kFormProperty, this);
  SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  dpi_ = GetDpiForWindow(hwnd_);
  fonts_.MakeFor(dpi_);
  LoadIcons();
  SetClientSize(args.client_width, args.client_height);
}

Form* Form::FromHandle(HWND hwnd) { return hwnd ? static_cast<Form*>(GetPropW(hwnd, kFormProperty)) : nullptr; }

void Form::SetCaption(std::string_view utf8) { SetWindowTextW(hwnd_, Widen(utf8).c_str()); }

std::string Form::Caption() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

SIZE Form::OuterSizeFor(int client_width, int client_height) const {
  RECT bounds = {0, 0, Scale(client_width), Scale(client_height)};
  AdjustWindowRectExForDpi(&bounds, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)), dpi_);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void Form::SetClientSize(int width, int height) {
  const SIZE outer = OuterSizeFor(width, height);
  SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Form::ClientSize() const {
  RECT client;
  GetClientRect(hwnd_, &client);
  return {MulDiv(client.right, 96, static_cast<int>(dpi_)), MulDiv(client.bottom, 96, static_cast<int>(dpi_))};
}

void Form::SetOuterHeight(int height, int designed_frame) {
  const SIZE frame = OuterSizeFor(0, 0);
  const int system_frame = MulDiv(frame.cy, 96, static_cast<int>(dpi_));
  SetClientSize(ClientSize().cx, height - std::max(system_frame, designed_frame));
}

void Form::MoveTo(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CentreOnScreen() {
  MONITORINFO monitor = {sizeof monitor};
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  RECT outer;
  GetWindowRect(hwnd_, &outer);
  MoveTo(area.left + (area.right - area.left - (outer.right - outer.left)) / 2,
         area.top + (area.bottom - area.top - (outer.bottom - outer.top)) / 2);
}

void Form::ShowTransparent() {
  CancelFade();
  SetAlpha(0);
  ShowWindow(hwnd_, SW_SHOW);
}

void Form::HideNow() {
  CancelFade();
  ShowWindow(hwnd_, SW_HIDE);
  if (ends_program_) PostQuitMessage(0);
}

void Form::FadeIn(int milliseconds) { StartFade(Fade::In, milliseconds); }

void Form::FadeOut(int milliseconds) { StartFade(Fade::Out, milliseconds); }

void Form::CancelFade() {
  if (fade_ != Fade::None) KillTimer(hwnd_, kFadeTimer);
  fade_ = Fade::None;
  MakeOpaque();
}

void Form::StartFade(Fade fade, int milliseconds) {
  fade_ = fade;
  fade_start_ = std::chrono::steady_clock::now();
  fade_length_ = std::chrono::milliseconds(std::max(milliseconds, 0));
  StepFade();
  if (fade_ != Fade::None) SetTimer(hwnd_, kFadeTimer, kFadeStepMilliseconds, nullptr);
}

void Form::StepFade() {
  const auto elapsed = std::chrono::steady_clock::now() - fade_start_;
  const double share =
      fade_length_.count() > 0 ? std::min(1.0, std::chrono::duration<double>(elapsed) / fade_length_) : 1.0;
  const Fade fade = fade_;
  SetAlpha(static_cast<BYTE>(std::lround(255 * (fade == Fade::In ? share : 1 - share))));
  if (share < 1.0) return;
  KillTimer(hwnd_, kFadeTimer);
  fade_ = Fade::None;
  if (fade == Fade::In) {
    MakeOpaque();
  } else if (onFadeOutEnded) {
    onFadeOutEnded();
  }
}

void Form::SetAlpha(BYTE alpha) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if (!(style & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd_, 0, alpha, LWA_ALPHA);
}

// An opaque window is drawn without the layered window's extra copy. The system drops
// that copy with the style, so the window paints itself again.
void Form::MakeOpaque() {
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  if (!(style & WS_EX_LAYERED)) return;
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool Form::IsVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Form::BringToFront() {
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  SetForegroundWindow(hwnd_);
  SetActiveWindow(hwnd_);
}

void Form::Repaint() { RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

bool Form::PreTranslateMessage(MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const KeyModifiers modifiers{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
  if (onKeyDown) onKeyDown(static_cast<uint16_t>(message.wParam), modifiers);
  // The key handler may have hidden the form, or opened a box that took the focus.
  if (message.wParam == VK_TAB && !modifiers.ctrl && !modifiers.alt && IsWindowVisible(hwnd_) &&
      GetActiveWindow() == hwnd_) {
    return MoveFocusAlongChain(modifiers.shift);
  }
  return false;
}

bool Form::MoveFocusAlongChain(bool backwards) {
  if (tab_chain_.empty()) return false;
  const HWND focus = GetFocus();
  const auto count = static_cast<int>(tab_chain_.size());
  int at = -1;
  for (int i = 0; i < count; ++i) {
    const HWND control = tab_chain_[static_cast<size_t>(i)]->hwnd();
    if (focus && (focus == control || IsChild(control, focus))) at = i;
  }
  for (int step = 1; step <= count; ++step) {
    const int i = at < 0 ? (backwards ? count - step : step - 1)
                         : ((at + (backwards ? -step : step)) % count + count) % count;
    const Control& control = *tab_chain_[static_cast<size_t>(i)];
    if (control.IsEnabled() && control.IsVisible()) {
      SetFocus(control.hwnd());
      return true;
    }
  }
  return true;
}

void Form::SetHint(HWND tool, std::string_view utf8) {
  if (!tooltips_) {
    tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    // Unthemed, so that the tips take the skin's colours.
    SetWindowTheme(tooltips_, L"", L"");
    SendMessageW(tooltips_, TTM_SETTIPBKCOLOR, colour::kTooltip, 0);
    SendMessageW(tooltips_, TTM_SETTIPTEXTCOLOR, colour::kTooltipText, 0);
    SendMessageW(tooltips_, TTM_SETMAXTIPWIDTH, 0, Scale(kHintWidth));
    RECT margin = {Scale(6), Scale(3), Scale(6), Scale(3)};
    SendMessageW(tooltips_, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
  }
  std::wstring text = Widen(utf8);
  TTTOOLINFOW tool_info = {};
  tool_info.cbSize = sizeof tool_info;
  tool_info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool_info.hwnd = hwnd_;
  tool_info.uId = reinterpret_cast<UINT_PTR>(tool);
  tool_info.lpszText = text.data();
  SendMessageW(tooltips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool_info));
  if (!text.empty()) SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_info));
}

bool Form::InSight(HWND control) const {
  RECT client;
  GetClientRect(hwnd_, &client);
  RECT bounds;
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&bounds), 2);
  RECT visible;
  return IntersectRect(&visible, &bounds, &client);
}

// The first control Tab reaches that the operator can see: the window's description puts
// some controls outside the client area, where the focus would be lost to the eye.
HWND Form::FirstTabStopInSight() const {
  std::vector<HWND> order;
  for (const Control* control : tab_chain_) {
    if (control->IsEnabled() && control->IsVisible()) order.push_back(control->hwnd());
  }
  if (tab_chain_.empty()) {
    const HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    for (HWND control = first; control;) {
      order.push_back(control);
      control = GetNextDlgTabItem(hwnd_, control, FALSE);
      if (control == first) break;
    }
  }
  for (const HWND control : order) {
    if (InSight(control)) return control;
  }
  return order.empty() ? nullptr : order.front();
}

void Form::Adopt(Control* control) { controls_.push_back(control); }

void Form::Forget(Control* control) { std::erase(controls_, control); }

void Form::LoadIcons() {
  if (!icon_) return;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  auto load = [&](int metric_x, int metric_y) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(icon_), IMAGE_ICON,
                                         GetSystemMetricsForDpi(metric_x, dpi_),
                                         GetSystemMetricsForDpi(metric_y, dpi_), 0));
  };
  const HICON big = load(SM_CXICON, SM_CYICON);
  const HICON small = load(SM_CXSMICON, SM_CYSMICON);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (big_icon_) DestroyIcon(big_icon_);
  if (small_icon_) DestroyIcon(small_icon_);
  big_icon_ = big;
  small_icon_ = small;
}

void Form::ApplyDpi(UINT dpi, const RECT* suggested) {
  dpi_ = dpi;
  fonts_.MakeFor(dpi_);
  LoadIcons();
  for (Control* control : controls_) control->ApplyDpi();
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Repaint();
}

LRESULT Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (ReflectNotification(message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, SolidBrush(background_));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), background_);
      return reinterpret_cast<LRESULT>(SolidBrush(background_));
    case WM_CLOSE:
      if (onClose) {
        onClose();
      } else {
        HideNow();
      }
      return 0;
    case WM_TIMER:
      if (wparam != kFadeTimer) break;
      StepFade();
      return 0;
    case WM_SIZE:
      if (wparam != SIZE_MINIMIZED && onResize) onResize();
      break;
    case WM_ACTIVATE:
      // Each form keeps its own focus, as a dialog does: the control that had it when the
      // form was left has it again when the form comes back.
      if (LOWORD(wparam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_before_deactivation_ = focus;
      } else {
        HWND focus = focus_before_deactivation_;
        if (!focus || !IsWindow(focus) || !IsChild(hwnd_, focus)) focus = FirstTabStopInSight();
        if (focus) SetFocus(focus);
        if (onActivate) onActivate();
        return 0;
      }
      break;
    case WM_DPICHANGED:
      ApplyDpi(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
      return 0;
    default:
      break;
  }
  return DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Form::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                    DWORD_PTR self) {
  auto* form = reinterpret_cast<Form*>(self);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
    RemovePropW(hwnd, kFormProperty);
    form->hwnd_ = nullptr;
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  return form->HandleMessage(message, wparam, lparam);
}

}  // namespace zorvan::win32
