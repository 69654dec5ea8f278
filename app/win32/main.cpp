// zorvan-flasher.exe: the window on Windows.
//   zorvan-flasher.exe [PORT...] [--production PORT... [--start]]
// Port names given as arguments are offered first in the port box, before the ports the
// system has registered; --production opens the production window once the program has
// started, with the ports after it ticked, and --start starts the line at once.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/handler_guard.h"
#include "app/window_arguments.h"
#include "app/win32/forms.h"
#include "app/win32/help_window.h"
#include "app/win32/main_window.h"
#include "app/win32/message_loop.h"
#include "app/win32/picture.h"
#include "app/win32/production_window.h"
#include "app/win32/skin_pictures.h"
#include "app/win32/system_desktop.h"
#include "app/win32/utf.h"
#include "app/win32/win32_gui_thread.h"
#include "protocol/loader_port.h"
#include "serial/bcport.h"

namespace {

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> texts;
  for (int i = 1; i < count; ++i) texts.push_back(zorvan::win32::Narrow(arguments[i]));
  LocalFree(arguments);
  return texts;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace zorvan::app;
  using namespace zorvan::win32;
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const PictureLibrary picture_library;
  SystemDesktop desktop;
  const WindowArguments arguments = ParseWindowArguments(CommandLineArguments());
  try {
    // Made before the port and gone after it: closing the port serves its event thread.
    Win32GuiThread gui_thread([&desktop](const std::exception& error) { ShowDefaultException(desktop, error); });
    auto port = std::make_unique<zorvan::TBComPort>();
    zorvan::ApplyLoaderPortSettings(*port);
    port->SetGuiThread(gui_thread);

    const SkinPictures pictures;
    MainWindow main_window(pictures);
    HelpWindow help_window(pictures, main_window.hwnd());
    ProductionWindow production_window;
    TMainForm MainForm(main_window, desktop, std::move(port), arguments.virtual_ports);
    TFormHelp FormHelp(help_window, desktop);
    TProductionForm ProductionForm(production_window, desktop, arguments.virtual_ports);
    main_window.Connect(&MainForm);
    help_window.Connect(&FormHelp);
    production_window.Connect(&ProductionForm);
    MainForm.SetFormHelp(FormHelp);
    MainForm.SetProductionForm(ProductionForm);
    StartProgram(desktop, MainForm);
    if (!arguments.problem.empty()) ShowDefaultException(desktop, std::invalid_argument(arguments.problem));
    if (arguments.production) MainForm.OpenProductionWindow(arguments.production_ports, arguments.start);
    const int status = RunMessageLoop();
    // The forms go before their windows: what the windows do on their way reaches no form.
    main_window.Connect(nullptr);
    help_window.Connect(nullptr);
    production_window.Connect(nullptr);
    return status;
  } catch (const std::exception& error) {
    ShowDefaultException(desktop, error);
    return 1;
  }
}
