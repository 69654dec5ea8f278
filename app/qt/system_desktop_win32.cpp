// The desktop on Windows: the system's own sounds and the device manager console.

#include <windows.h>
#include <shellapi.h>

#include <QWidget>

#include "app/qt/system_desktop.h"

namespace zorvan::app {

void SystemDesktop::MessageBeep(unsigned type) { ::MessageBeep(type); }

void SystemDesktop::Beep(unsigned frequency_hz, unsigned duration_ms) { ::Beep(frequency_hz, duration_ms); }

void SystemDesktop::OpenDeviceManager(WindowView& owner) {
  const QWidget* widget = WidgetOf(owner);
  const HWND window = widget ? reinterpret_cast<HWND>(widget->winId()) : nullptr;
  ::ShellExecuteW(window, L"open", L"devmgmt.msc", nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace zorvan::app
