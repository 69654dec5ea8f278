#include "app/win32/desktop.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>

#include "app/win32/utf.h"
#include "serial/port_list.h"

namespace zorvan::win32 {

namespace {

void ShowBox(const std::string& title, std::string_view text, UINT icon) {
  // No owner and task-modal: centred on the screen, and every window of the program
  // waits until it is closed.
  MessageBoxW(nullptr, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND | icon);
}

}  // namespace

void Desktop::ShowMessage(std::string_view text) const { ShowBox(title_, text, 0); }

void Desktop::ShowException(std::string_view text) const { ShowBox(title_, text, MB_ICONSTOP); }

void Desktop::MessageBeep(unsigned type) { ::MessageBeep(type); }

void Desktop::Beep(unsigned frequency_hz, unsigned duration_ms) {
  // Where the system cannot sound the tone it returns at once (so does Wine); the
  // length is waited out all the same.
  const auto start = std::chrono::steady_clock::now();
  ::Beep(frequency_hz, duration_ms);
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  if (elapsed < duration_ms) ::Sleep(static_cast<DWORD>(duration_ms - elapsed));
}

void Desktop::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

std::string Desktop::TimeOfDay() {
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

std::string Desktop::ChooseFileToOpen(HWND owner, std::string_view filter, std::string_view last_file) {
  const std::wstring filters = FileDialogFilter(filter);
  // Room for the longest path the system knows.
  std::wstring path(32768, L'\0');
  const std::wstring last = Widen(last_file);
  std::copy_n(last.begin(), std::min(last.size(), path.size() - 1), path.begin());

  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  // No OFN_FILEMUSTEXIST: a typed name that does not exist is the reader's to report.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return {};
  path.resize(wcslen(path.c_str()));
  return Narrow(path);
}

void Desktop::OpenAddress(HWND owner, std::string_view address) {
  ShellExecuteW(owner, nullptr, Widen(address).c_str(), nullptr, nullptr, SW_SHOW);
}

void Desktop::OpenDeviceManager(HWND owner) {
  ShellExecuteW(owner, L"open", L"devmgmt.msc", nullptr, nullptr, SW_SHOWNORMAL);
}

std::vector<std::string> Desktop::ListSerialPorts() {
  std::vector<std::string> ports;
  zorvan::ListSerialPorts(ports);
  return ports;
}

}  // namespace zorvan::win32
