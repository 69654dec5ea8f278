#pragma once
// The desktop as the running Windows program meets it: the system's message boxes,
// sounds and file dialog, the shell, and the system's serial ports. The owner
// of a dialog is the kit's form behind the view it is given.

#include <string>
#include <string_view>

#include "app/desktop.h"

namespace zorvan::win32 {

class SystemDesktop : public app::Desktop {
 public:
  // Task-modal: every window of the program waits until the operator has closed it.
  void ShowMessage(const std::string& text) override;
  void ShowException(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void MessageBeep(unsigned type) override;
  // Silent where the machine has no speaker, but it takes its time all the same.
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override;
  // The system's open dialog. A typed name that does not exist is accepted: reading the
  // file then tells the operator why it cannot be opened, as for any file that cannot
  // be read.
  std::string ChooseFileToOpen(app::WindowView& owner, const std::string& filter,
                               const std::string& last_file) override;
  void OpenAddress(app::WindowView& owner, const std::string& address) override;
  // The device manager console.
  void OpenDeviceManager(app::WindowView& owner) override;
  std::string ChooseFileToSave(app::WindowView& owner, const std::string& filter,
                               const std::string& suggested) override;
  std::vector<std::string> ListSerialPorts() override;
  std::vector<SerialPortInfo> ListSerialPortDetails() override;
  bool PortPresent(const std::string& port) override;
};

// Double NUL-terminated description and mask pairs, as the file dialog takes them.
std::wstring FileDialogFilter(std::string_view filter);

}  // namespace zorvan::win32
