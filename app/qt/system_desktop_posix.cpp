// The desktop on Linux and other POSIX systems.

#include <QApplication>

#include "app/qt/port_list_window.h"
#include "app/qt/system_desktop.h"

namespace zorvan::app {

// The desktop's bell stands for every kind of system sound.
void SystemDesktop::MessageBeep(unsigned) { QApplication::beep(); }

// The bell has no pitch: the tone is silent, and keeps the operator waiting as long as
// the sound would.
void SystemDesktop::Beep(unsigned, unsigned duration_ms) { Sleep(duration_ms); }

// There is no device manager console here; a small window lists the serial devices the
// system knows, with the details that tell one adapter from another.
void SystemDesktop::OpenDeviceManager(WindowView& owner) { PortListWindow::ShowFor(WidgetOf(owner)); }

}  // namespace zorvan::app
