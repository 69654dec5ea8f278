#include "app/win32/control.h"

#include <commctrl.h>

#include <system_error>

#include "app/win32/form.h"
#include "app/win32/utf.h"

namespace zorvan::win32 {

namespace {

constexpr wchar_t kControlProperty[] = L"Zorvan.Control";
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

Control::~Control() {
  if (!hwnd_) return;
  RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  RemovePropW(hwnd_, kControlProperty);
  parent_.form->Forget(this);
  DestroyWindow(hwnd_);
}

Control* Control::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProperty)) : nullptr;
}

void Control::Create(const CreateParams& params) {
  parent_ = params.parent;
  bounds_ = params.bounds;
  font_ = params.font;
  cursor_ = params.cursor;
  hwnd_ = CreateWindowExW(params.ex_style, params.window_class, Widen(params.text).c_str(),
                          params.style | WS_CHILD, 0, 0, 0, 0, params.parent.hwnd, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateWindowExW");
  SetPropW(hwnd_, kControlProperty, this);
  SetWindowSubclass(hwnd_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  parent_.form->Adopt(this);
  ApplyDpi();
}

void Control::SetText(std::string_view utf8) { SetWindowTextW(hwnd_, Widen(utf8).c_str()); }

std::string Control::Text() const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void Control::SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
bool Control::IsEnabled() const { return IsWindowEnabled(hwnd_); }
bool Control::IsVisible() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::Focus() { SetFocus(hwnd_); }
bool Control::HasFocus() const { return GetFocus() == hwnd_ || IsChild(hwnd_, GetFocus()); }
void Control::SetHint(std::string_view utf8) { parent_.form->SetHint(hwnd_, utf8); }

bool Control::OnCommand(WORD) { return false; }
bool Control::OnNotify(const NMHDR&, LRESULT&) { return false; }
bool Control::OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
HBRUSH Control::OnCtlColor(HDC) { return nullptr; }

void Control::ApplyDpi() {
  SetWindowPos(hwnd_, nullptr, Scale(bounds_.left), Scale(bounds_.top), Scale(bounds_.width),
               Scale(bounds_.height), SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

int Control::Scale(int design_pixels) const { return parent_.form->Scale(design_pixels); }
HFONT Control::Font() const { return parent_.form->Font(font_); }

LRESULT Control::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return Default(message, wparam, lparam);
}

LRESULT Control::Default(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                       DWORD_PTR self) {
  auto* control = reinterpret_cast<Control*>(self);
  switch (message) {
    case WM_NCDESTROY:
      // The window goes with its parent; the object may outlive it.
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      RemovePropW(hwnd, kControlProperty);
      control->parent_.form->Forget(control);
      control->hwnd_ = nullptr;
      return DefSubclassProc(hwnd, message, wparam, lparam);
    case WM_SETCURSOR:
      if (control->cursor_ && LOWORD(lparam) == HTCLIENT) {
        SetCursor(control->cursor_);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!control->hovered_) {
        control->hovered_ = true;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        control->OnHover(true);
      }
      break;
    case WM_MOUSELEAVE:
      control->hovered_ = false;
      control->OnHover(false);
      break;
    default:
      break;
  }
  return control->HandleMessage(message, wparam, lparam);
}

bool ReflectNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      child = reinterpret_cast<HWND>(lparam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<const NMHDR*>(lparam)->hwndFrom;
      break;
    case WM_DRAWITEM:
      child = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)->hwndItem;
      break;
    default:
      return false;
  }
  Control* control = Control::FromHandle(child);
  if (!control) return false;
  switch (message) {
    case WM_COMMAND:
      result = 0;
      return control->OnCommand(HIWORD(wparam));
    case WM_NOTIFY:
      return control->OnNotify(*reinterpret_cast<const NMHDR*>(lparam), result);
    case WM_DRAWITEM:
      result = TRUE;
      return control->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    default: {
      const HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wparam));
      result = reinterpret_cast<LRESULT>(brush);
      return brush != nullptr;
    }
  }
}

const wchar_t* OwnWindowClass() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = L"Zorvan.Window";
    RegisterClassExW(&window_class);
    return window_class.lpszClassName;
  }();
  return name;
}

}  // namespace zorvan::win32
