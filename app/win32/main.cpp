// zorvan-flasher.exe: the window on Windows. Port names given as arguments are offered
// first in the port box, before the ports the system has registered.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/handler_guard.h"
#include "app/win32/forms.h"
#include "app/win32/help_window.h"
#include "app/win32/main_window.h"
#include "app/win32/message_loop.h"
#include "app/win32/picture.h"
#include "app/win32/skin_pictures.h"
#include "app/win32/system_desktop.h"
#include "app/win32/utf.h"
#include "app/win32/win32_gui_thread.h"
#include "protocol/loader_port.h"
#include "serial/bcport.h"

namespace {

std::vector<std::string> CommandLinePorts() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> ports;
  for (int i = 1; i < count; ++i) ports.push_back(zorvan::win32::Narrow(arguments[i]));
  LocalFree(arguments);
  return ports;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace zorvan::app;
  using namespace zorvan::win32;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const PictureLibrary picture_library;
  SystemDesktop desktop;
  try {
    // Made before the port and gone after it: closing the port serves its event thread.
    Win32GuiThread gui_thread([&desktop](const std::exception& error) { ShowDefaultException(desktop, error); });
    auto port = std::make_unique<zorvan::TBComPort>();
    zorvan::ApplyLoaderPortSettings(*port);
    port->SetGuiThread(gui_thread);

    const SkinPictures pictures;
    MainWindow main_window(pictures);
    HelpWindow help_window(pictures, main_window.hwnd());
    TMainForm MainForm(main_window, desktop, std::move(port), CommandLinePorts());
    TFormHelp FormHelp(help_window, desktop);
    main_window.Connect(&MainForm);
    help_window.Connect(&FormHelp);
    MainForm.SetFormHelp(FormHelp);
    StartProgram(desktop, MainForm);
    const int status = RunMessageLoop();
    // The forms go before their windows: what the windows do on their way reaches no form.
    main_window.Connect(nullptr);
    help_window.Connect(nullptr);
    return status;
  } catch (const std::exception& error) {
    ShowDefaultException(desktop, error);
    return 1;
  }
}
