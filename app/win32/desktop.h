#pragma once
// What the windows ask of the Windows desktop outside their own controls: modal
// messages, sounds, pauses, the clock, the file dialog, the shell and the system's
// table of serial ports. Texts and paths are UTF-8 here.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace zorvan::win32 {

class Desktop {
 public:
  // The title of every message box.
  void SetApplicationTitle(std::string_view utf8) { title_ = utf8; }
  const std::string& ApplicationTitle() const { return title_; }

  // A modal message without an icon, with one OK button, centred on the screen; the
  // program's windows take no input until the operator has closed it.
  void ShowMessage(std::string_view text) const;
  // The default exception display: the same box with the stop icon. `text` is shown as
  // given.
  void ShowException(std::string_view text) const;

  static void MessageBeep(unsigned type);
  // A tone of the given pitch and length; silent where the machine has no speaker, but
  // it takes its time all the same.
  static void Beep(unsigned frequency_hz, unsigned duration_ms);
  // A blocking pause: no window message is handled during it.
  static void Sleep(unsigned milliseconds);
  // The local time of day in the system's long time format.
  static std::string TimeOfDay();

  // The modal file-open dialog. `filter` is written as description|mask pairs,
  // "HEX files|*.hex". Returns the chosen path, or an empty text when the operator
  // cancelled. The operator may also type a name that does not exist: the caller
  // reports that when it reads the file.
  static std::string ChooseFileToOpen(HWND owner, std::string_view filter, std::string_view last_file);

  // Hands a web address to the shell's default handler.
  static void OpenAddress(HWND owner, std::string_view address);
  // Opens the system's device manager console.
  static void OpenDeviceManager(HWND owner);

  // The serial ports the system has registered, sorted; raises EComPort when the
  // system's table of ports is missing.
  static std::vector<std::string> ListSerialPorts();

 private:
  std::string title_;
};

// Double NUL-terminated description and mask pairs, as the file dialog takes them.
std::wstring FileDialogFilter(std::string_view filter);

}  // namespace zorvan::win32
