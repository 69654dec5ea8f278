#pragma once
// The desktop as the running Qt program meets it: Qt's message boxes and file dialog, the
// system's sounds, the shell and the serial ports.

#include <QString>

#include "app/desktop.h"

class QWidget;

namespace zorvan::app {

class SystemDesktop : public Desktop {
 public:
  void ShowMessage(const std::string& text) override;
  void ShowException(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void MessageBeep(unsigned type) override;
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override;
  std::string ChooseFileToOpen(WindowView& owner, const std::string& filter, const std::string& last_file) override;
  void OpenAddress(WindowView& owner, const std::string& address) override;
  void OpenDeviceManager(WindowView& owner) override;
  std::string ChooseFileToSave(WindowView& owner, const std::string& filter, const std::string& suggested) override;
  std::vector<std::string> ListSerialPorts() override;
  std::vector<SerialPortInfo> ListSerialPortDetails() override;
  bool PortPresent(const std::string& port) override;
};

// The Qt window that serves as `view`.
QWidget* WidgetOf(WindowView& view);

// A file dialog filter written as description|mask pairs, in Qt's form
// "description (mask);;...".
QString QtFileFilter(const QString& filter);

}  // namespace zorvan::app
