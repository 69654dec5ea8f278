#pragma once
// What the windows ask of the desktop: modal messages and questions, sounds, pauses, the
// clock, the file dialog, the shell and the system's serial ports. Everything the windows
// do to the operator outside their own controls goes through here, so that tests can put
// a recorder in its place; nothing else calls a message box.
//
// Each toolkit gives one (the Qt desktop, the Win32 desktop). Calls come on the GUI
// thread; texts and paths are UTF-8.

#include <string>
#include <utility>
#include <vector>

#include "serial/port_list.h"

namespace zorvan::app {

class WindowView;

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The application's title: the title of every message box.
  void SetApplicationTitle(std::string title) { title_ = std::move(title); }
  const std::string& ApplicationTitle() const { return title_; }

  // A modal message with the application's title, without an icon, with one OK button,
  // centred on the screen; returns once the operator has closed it. Lines are joined
  // with CR LF, and the spaces that centre a line are kept.
  virtual void ShowMessage(const std::string& text) = 0;
  // The default exception display: as ShowMessage, with the stop icon. `text` is shown
  // as given (the caller applies the full-stop rule).
  virtual void ShowException(const std::string& text) = 0;
  // A modal question with the application's title, the question icon and the buttons
  // Yes and No, centred on the screen; No is the default, so Enter answers No. Returns
  // whether the operator answered Yes.
  virtual bool AskYesNo(const std::string& text) = 0;

  // The system sound of a MessageBeep type (0x10, 0x20, 0x30, 0x40).
  virtual void MessageBeep(unsigned type) = 0;
  // A tone of the given pitch and length; it may be silent but takes its time.
  virtual void Beep(unsigned frequency_hz, unsigned duration_ms) = 0;
  // A blocking pause: no window message is handled during it.
  virtual void Sleep(unsigned milliseconds) = 0;
  // The local time of day in the system's long time format.
  virtual std::string TimeOfDay() const = 0;

  // The modal file-open dialog over `owner`. `filter` is description|mask pairs
  // ("Файли: I8HEX, I16HEX, I32HEX|*.hex"); `last_file` is the path chosen the time
  // before, or empty. Returns the chosen file's path, or an empty text when the operator
  // cancelled.
  virtual std::string ChooseFileToOpen(WindowView& owner, const std::string& filter,
                                       const std::string& last_file) = 0;

  // The modal file-save dialog over `owner`, as the open dialog, starting at `suggested`;
  // the chosen file need not exist, and an existing one is not questioned (run records
  // are appended to it). Returns an empty text when the operator cancelled.
  virtual std::string ChooseFileToSave(WindowView& owner, const std::string& filter,
                                       const std::string& suggested) = 0;

  // Hands a web address to the desktop's default handler, `owner` as the owner of what
  // it may show; the outcome is not reported.
  virtual void OpenAddress(WindowView& owner, const std::string& address) = 0;
  // Shows the system's view of its serial devices (the device manager console on
  // Windows, the port-list window elsewhere).
  virtual void OpenDeviceManager(WindowView& owner) = 0;

  // The names of the serial ports the system has registered, sorted; raises EComPort
  // when the system's table of ports is missing.
  virtual std::vector<std::string> ListSerialPorts() = 0;
  // The same ports with what the system knows of each (the adapter behind it); raises
  // as ListSerialPorts does.
  virtual std::vector<SerialPortInfo> ListSerialPortDetails() = 0;
  // Whether the system has the port named `port` now (an unplugged adapter takes its
  // port away); the port is not opened.
  virtual bool PortPresent(const std::string& port) = 0;

 private:
  std::string title_;
};

}  // namespace zorvan::app
