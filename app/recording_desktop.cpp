#include "app/recording_desktop.h"

#include <chrono>
#include <thread>

#include "serial/ecomport.h"

namespace zorvan::app::testing {

void RecordingDesktop::ShowMessage(const QString& text) {
  boxes.push_back({ApplicationTitle(), text, false});
  if (on_box) on_box(boxes.back());
}

void RecordingDesktop::ShowException(const QString& text) {
  boxes.push_back({ApplicationTitle(), text, true});
  if (on_box) on_box(boxes.back());
}

void RecordingDesktop::Beep(unsigned frequency_hz, unsigned duration_ms) {
  tones.emplace_back(frequency_hz, duration_ms);
}

void RecordingDesktop::Sleep(unsigned milliseconds) {
  sleeps.push_back(milliseconds);
  if (on_sleep) on_sleep(milliseconds);
  if (really_sleep) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

QString RecordingDesktop::ChooseFileToOpen(QWidget*, const QString& filter, const QString&) {
  dialog_filters << filter;
  return dialog_answers.isEmpty() ? QString() : dialog_answers.takeFirst();
}

QStringList RecordingDesktop::ListSerialPorts() {
  if (!system_ports) throw EComPort(com_text::kNoPortTable);
  return *system_ports;
}

QStringList RecordingDesktop::Messages() const {
  QStringList texts;
  for (const Box& box : boxes) {
    if (!box.error) texts << box.text;
  }
  return texts;
}

QStringList RecordingDesktop::Errors() const {
  QStringList texts;
  for (const Box& box : boxes) {
    if (box.error) texts << box.text;
  }
  return texts;
}

void RecordingDesktop::Clear() {
  boxes.clear();
  beeps.clear();
  tones.clear();
  sleeps.clear();
  opened_addresses.clear();
  device_manager_openings = 0;
  dialog_filters.clear();
}

}  // namespace zorvan::app::testing
