// zorvan-flasher.exe: the window on Windows. Port names given as arguments are offered
// first in the port box, before the ports the system has registered.
//
// Until the form logic drives the views, this shell shows the window as it stands at
// start-up and answers the keys that move between the windows: Ctrl+Shift+E opens the
// engineering view, F1 shows the help window and, in it, hides it again.

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "app/win32/desktop.h"
#include "app/win32/help_window.h"
#include "app/win32/main_window.h"
#include "app/win32/message_loop.h"
#include "app/win32/picture.h"
#include "app/win32/skin_pictures.h"
#include "app/win32/utf.h"
#include "app/win32/window_texts.h"

namespace {

using namespace zorvan::win32;

std::vector<std::string> CommandLinePorts() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> ports;
  for (int i = 1; i < count; ++i) ports.push_back(Narrow(arguments[i]));
  LocalFree(arguments);
  return ports;
}

void ShowStartUpState(MainWindow& window, const Desktop& desktop) {
  window.SetCaption(text::kProgramTitle);
  std::vector<std::string> ports = CommandLinePorts();
  try {
    for (std::string& port : Desktop::ListSerialPorts()) ports.push_back(std::move(port));
  } catch (const std::exception& error) {
    desktop.ShowException(error.what());
  }
  window.SetItems(MainControl::cbPort, ports);
  window.SetSelection(MainControl::cbPort, ports.empty() ? -1 : 0);
  window.SetSelection(MainControl::cbBaudRate, text::kDefaultBaudRateIndex);
}

void AnswerWindowKeys(MainWindow& main_window, HelpWindow& help_window) {
  constexpr uint16_t kKeyE = 'E';
  main_window.onKeyDown = [&](uint16_t key, KeyModifiers modifiers) {
    if (key == VK_F1) help_window.Show();
    if (key == kKeyE && modifiers.ctrl && modifiers.shift) main_window.OpenEngineeringView();
  };
  help_window.onKeyDown = [&](uint16_t key, KeyModifiers) {
    if (key == VK_F1) help_window.Hide();
  };
  help_window.onClick = [&](HelpControl control) {
    if (control == HelpControl::Button1) help_window.Hide();
  };
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  PictureLibrary picture_library;
  Desktop desktop;
  desktop.SetApplicationTitle(text::kProgramTitle);
  try {
    const SkinPictures pictures;
    MainWindow main_window(pictures);
    HelpWindow help_window(pictures, main_window.hwnd());
    ShowStartUpState(main_window, desktop);
    AnswerWindowKeys(main_window, help_window);
    main_window.Show();
    return RunMessageLoop();
  } catch (const std::exception& error) {
    desktop.ShowException(error.what());
    return 1;
  }
}
