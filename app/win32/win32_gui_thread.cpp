#include "app/win32/win32_gui_thread.h"

#include <system_error>

namespace zorvan::win32 {

namespace {

constexpr UINT kServeMessage = WM_APP + 1;

const wchar_t* WindowClass() {
  static const wchar_t* const name = [] {
    WNDCLASSEXW window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"Zorvan.GuiThread";
    RegisterClassExW(&window_class);
    return window_class.lpszClassName;
  }();
  return name;
}

}  // namespace

Win32GuiThread::Win32GuiThread(ErrorDisplay display) : EventLoopGuiThread(std::move(display)) {
  window_ = CreateWindowExW(0, WindowClass(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  if (!window_) throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "CreateWindowExW");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
}

Win32GuiThread::~Win32GuiThread() { DestroyWindow(window_); }

void Win32GuiThread::AskEventLoopToServe() { PostMessageW(window_, kServeMessage, 0, 0); }

LRESULT CALLBACK Win32GuiThread::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kServeMessage) {
    reinterpret_cast<Win32GuiThread*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))->ServeFromEventLoop();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace zorvan::win32
