#include "app/win32/system_desktop.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/window_view.h"
#include "app/win32/form.h"
#include "app/win32/utf.h"
#include "serial/bcport.h"
#include "serial/port_list.h"

namespace zorvan::win32 {

namespace {

BOOL CALLBACK DisableIfTakingInput(HWND window, LPARAM disabled) {
  if (IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    reinterpret_cast<std::vector<HWND>*>(disabled)->push_back(window);
  }
  return TRUE;
}

// Every window of the program waits while the box is open. The box is owned by the
// window that was active, which the system makes active again when the box closes (a box
// without an owner leaves no window of the program active, and the keys then reach none
// of them); a message box stays centred on the screen, not on its owner.
int ShowBox(const std::string& title, const std::string& text, UINT style) {
  const HWND owner = GetActiveWindow();
  std::vector<HWND> disabled;
  EnumThreadWindows(GetCurrentThreadId(), DisableIfTakingInput, reinterpret_cast<LPARAM>(&disabled));
  if (owner) EnableWindow(owner, TRUE);  // the box disables its owner itself, and enables it again
  const int answer = MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), MB_TASKMODAL | MB_SETFOREGROUND | style);
  for (const HWND window : disabled) {
    if (window != owner && IsWindow(window)) EnableWindow(window, TRUE);
  }
  return answer;
}

HWND OwnerOf(app::WindowView& view) {
  const Form* form = dynamic_cast<const Form*>(&view);
  return form ? form->hwnd() : nullptr;
}

}  // namespace

void SystemDesktop::ShowMessage(const std::string& text) { ShowBox(ApplicationTitle(), text, MB_OK); }

void SystemDesktop::ShowException(const std::string& text) { ShowBox(ApplicationTitle(), text, MB_OK | MB_ICONSTOP); }

bool SystemDesktop::AskYesNo(const std::string& text) {
  // The second button, No, is the default: Enter answers no.
  return ShowBox(ApplicationTitle(), text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void SystemDesktop::MessageBeep(unsigned type) { ::MessageBeep(type); }

void SystemDesktop::Beep(unsigned frequency_hz, unsigned duration_ms) {
  // Where the system cannot sound the tone it returns at once (so does Wine); the
  // length is waited out all the same.
  const auto start = std::chrono::steady_clock::now();
  ::Beep(frequency_hz, duration_ms);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  if (elapsed < duration_ms) ::Sleep(static_cast<DWORD>(duration_ms - elapsed));
}

void SystemDesktop::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

std::string SystemDesktop::TimeOfDay() const {
  wchar_t text[128] = {};
  GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, text, static_cast<int>(std::size(text)));
  return Narrow(text);
}

std::wstring FileDialogFilter(std::string_view filter) {
  std::wstring pairs = Widen(filter);
  std::replace(pairs.begin(), pairs.end(), L'|', L'\0');
  pairs.append(2, L'\0');
  return pairs;
}

namespace {

// The common file dialog, open or save, starting at `start`; an empty text when the
// operator cancelled.
std::string ChooseFile(HWND owner, const std::string& filter, const std::string& start, bool save) {
  const std::wstring filters = FileDialogFilter(filter);
  // Room for the longest path the system knows.
  std::wstring path(32768, L'\0');
  const std::wstring last = Widen(start);
  std::copy_n(last.begin(), std::min(last.size(), path.size() - 1), path.begin());

  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  // No OFN_FILEMUSTEXIST: a typed name that does not exist is the reader's to report.
  // No OFN_OVERWRITEPROMPT either: run records are appended to an existing file.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!(save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog))) return {};
  path.resize(wcslen(path.c_str()));
  return Narrow(path);
}

}  // namespace

std::string SystemDesktop::ChooseFileToOpen(app::WindowView& owner, const std::string& filter,
                                            const std::string& last_file) {
  return ChooseFile(OwnerOf(owner), filter, last_file, false);
}

std::string SystemDesktop::ChooseFileToSave(app::WindowView& owner, const std::string& filter,
                                            const std::string& suggested) {
  return ChooseFile(OwnerOf(owner), filter, suggested, true);
}

void SystemDesktop::OpenAddress(app::WindowView& owner, const std::string& address) {
  ShellExecuteW(OwnerOf(owner), nullptr, Widen(address).c_str(), nullptr, nullptr, SW_SHOW);
}

void SystemDesktop::OpenDeviceManager(app::WindowView& owner) {
  ShellExecuteW(OwnerOf(owner), L"open", L"devmgmt.msc", nullptr, nullptr, SW_SHOWNORMAL);
}

std::vector<std::string> SystemDesktop::ListSerialPorts() {
  std::vector<std::string> ports;
  zorvan::ListSerialPorts(ports);
  return ports;
}

std::vector<SerialPortInfo> SystemDesktop::ListSerialPortDetails() { return zorvan::ListSerialPortDetails(); }

bool SystemDesktop::PortPresent(const std::string& port) { return zorvan::PortPresent(port); }

}  // namespace zorvan::win32
