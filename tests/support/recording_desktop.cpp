#include "tests/support/recording_desktop.h"

#include <chrono>
#include <thread>

#include "serial/ecomport.h"

namespace zorvan::app::testing {

void RecordingDesktop::ShowMessage(const std::string& text) {
  boxes.push_back({ApplicationTitle(), text, false});
  if (on_box) on_box(boxes.back());
}

void RecordingDesktop::ShowException(const std::string& text) {
  boxes.push_back({ApplicationTitle(), text, true});
  if (on_box) on_box(boxes.back());
}

bool RecordingDesktop::AskYesNo(const std::string& text) {
  questions.push_back(text);
  if (yes_no_answers.empty()) return false;
  const bool yes = yes_no_answers.front();
  yes_no_answers.pop_front();
  return yes;
}

void RecordingDesktop::Sleep(unsigned milliseconds) {
  sleeps.push_back(milliseconds);
  if (on_sleep) on_sleep(milliseconds);
  if (really_sleep) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string RecordingDesktop::ChooseFileToSave(WindowView& owner, const std::string& filter,
                                               const std::string& suggested) {
  return ChooseFileToOpen(owner, filter, suggested);
}

std::string RecordingDesktop::ChooseFileToOpen(WindowView&, const std::string& filter, const std::string&) {
  dialog_filters.push_back(filter);
  if (dialog_answers.empty()) return {};
  std::string answer = std::move(dialog_answers.front());
  dialog_answers.pop_front();
  return answer;
}

void RecordingDesktop::OpenAddress(WindowView& owner, const std::string& address) {
  opened_addresses.push_back(address);
  address_owners.push_back(&owner);
}

std::vector<std::string> RecordingDesktop::ListSerialPorts() {
  if (!system_ports) throw EComPort(com_text::kNoPortTable);
  return *system_ports;
}

std::vector<SerialPortInfo> RecordingDesktop::ListSerialPortDetails() {
  std::vector<SerialPortInfo> details;
  for (const std::string& name : ListSerialPorts()) {
    const auto given = port_details.find(name);
    SerialPortInfo info = given != port_details.end() ? given->second : SerialPortInfo{};
    info.Name = name;
    details.push_back(std::move(info));
  }
  return details;
}

std::vector<std::string> RecordingDesktop::Messages() const {
  std::vector<std::string> texts;
  for (const Box& box : boxes) {
    if (!box.error) texts.push_back(box.text);
  }
  return texts;
}

std::vector<std::string> RecordingDesktop::Errors() const {
  std::vector<std::string> texts;
  for (const Box& box : boxes) {
    if (box.error) texts.push_back(box.text);
  }
  return texts;
}

void RecordingDesktop::Clear() {
  boxes.clear();
  beeps.clear();
  tones.clear();
  sleeps.clear();
  opened_addresses.clear();
  address_owners.clear();
  device_manager_openings = 0;
  dialog_filters.clear();
  questions.clear();
}

}  // namespace zorvan::app::testing
