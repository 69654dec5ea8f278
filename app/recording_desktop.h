#pragma once
// A desktop that records what the window asks of it instead of showing boxes, sounding
// the bell or opening dialogs, so tests can run the window unattended and state what the
// operator would have seen and heard.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/desktop.h"

namespace zorvan::app::testing {

class RecordingDesktop : public Desktop {
 public:
  struct Box {
    QString title;
    QString text;
    bool error;  // the default exception display (the stop icon)
  };

  std::vector<Box> boxes;
  std::vector<unsigned> beeps;
  std::vector<std::pair<unsigned, unsigned>> tones;
  std::vector<unsigned> sleeps;
  QStringList opened_addresses;
  int device_manager_openings = 0;
  QStringList dialog_filters;  // the filter of every file dialog shown

  // What the file dialog answers, in turn; an empty text is a cancel.
  QStringList dialog_answers;
  // The system's ports, or nothing when the system has no table of ports.
  std::optional<QStringList> system_ports = QStringList{};
  // Pauses really wait unless turned off.
  bool really_sleep = true;

  // Runs inside ShowMessage/ShowException, before it returns, as the operator would
  // look at the box; and before every pause.
  std::function<void(const Box&)> on_box;
  std::function<void(unsigned)> on_sleep;

  void ShowMessage(const QString& text) override;
  void ShowException(const QString& text) override;
  void MessageBeep(unsigned type) override { beeps.push_back(type); }
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void Sleep(unsigned milliseconds) override;
  QString TimeOfDay() const override { return QStringLiteral("12:34:56"); }
  QString ChooseFileToOpen(QWidget* owner, const QString& filter, const QString& last_file) override;
  void OpenAddress(QWidget*, const QString& address) override { opened_addresses << address; }
  void OpenDeviceManager(QWidget*) override { ++device_manager_openings; }
  QStringList ListSerialPorts() override;

  QStringList Messages() const;  // the texts of the plain message boxes, in order
  QStringList Errors() const;    // the texts of the exception displays, in order
  void Clear();
};

}  // namespace zorvan::app::testing
