#pragma once
// The desktop as the running program meets it: Qt's message boxes and file dialog, the
// system's sounds, the shell and the serial port table.

#include "app/desktop.h"

namespace zorvan::app {

class SystemDesktop : public Desktop {
 public:
  void ShowMessage(const QString& text) override;
  void ShowException(const QString& text) override;
  void MessageBeep(unsigned type) override;
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void Sleep(unsigned milliseconds) override;
  QString TimeOfDay() const override;
  QString ChooseFileToOpen(QWidget* owner, const QString& filter, const QString& last_file) override;
  void OpenAddress(QWidget* owner, const QString& address) override;
  void OpenDeviceManager(QWidget* owner) override;
  QStringList ListSerialPorts() override;
};

// A file dialog filter written as description|mask pairs, in Qt's form
// "description (mask);;...".
QString QtFileFilter(const QString& filter);

}  // namespace zorvan::app
