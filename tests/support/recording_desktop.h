#pragma once
// A desktop that records what the windows ask of it instead of showing boxes, sounding
// the bell or opening dialogs, so tests can run the windows unattended and state what the
// operator would have seen and heard.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/desktop.h"

namespace zorvan::app::testing {

class RecordingDesktop : public Desktop {
 public:
  struct Box {
    std::string title;
    std::string text;
    bool error;  // the default exception display (the stop icon)
  };

  std::vector<Box> boxes;
  std::vector<unsigned> beeps;
  std::vector<std::pair<unsigned, unsigned>> tones;
  std::vector<unsigned> sleeps;
  std::vector<std::string> opened_addresses;
  std::vector<const WindowView*> address_owners;  // the owner of each opened address
  int device_manager_openings = 0;
  std::vector<std::string> dialog_filters;  // the filter of every file dialog shown

  // What the file dialog answers, in turn; an empty text is a cancel.
  std::deque<std::string> dialog_answers;
  // The texts of the Yes/No questions asked, in order, and what the operator answers to
  // them in turn; No once the answers run out, as Enter gives.
  std::vector<std::string> questions;
  std::deque<bool> yes_no_answers;
  // Whether a port is there, by its name; every port is unless told otherwise.
  std::function<bool(const std::string&)> port_present;
  // The system's ports, or nothing when the system has no table of ports.
  std::optional<std::vector<std::string>> system_ports = std::vector<std::string>{};
  // What the system tells of its ports, by name.
  std::map<std::string, SerialPortInfo> port_details;
  // Pauses really wait unless turned off.
  bool really_sleep = true;

  // Runs inside ShowMessage/ShowException, before it returns, as the operator would
  // look at the box; and before every pause.
  std::function<void(const Box&)> on_box;
  std::function<void(unsigned)> on_sleep;

  void ShowMessage(const std::string& text) override;
  void ShowException(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void MessageBeep(unsigned type) override { beeps.push_back(type); }
  void Beep(unsigned frequency_hz, unsigned duration_ms) override { tones.emplace_back(frequency_hz, duration_ms); }
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override { return "12:34:56"; }
  std::string ChooseFileToOpen(WindowView& owner, const std::string& filter, const std::string& last_file) override;
  void OpenAddress(WindowView& owner, const std::string& address) override;
  void OpenDeviceManager(WindowView&) override { ++device_manager_openings; }
  std::string ChooseFileToSave(WindowView& owner, const std::string& filter, const std::string& suggested) override;
  std::vector<std::string> ListSerialPorts() override;
  // The system's ports with the details `port_details` gives for them (none unless told).
  std::vector<SerialPortInfo> ListSerialPortDetails() override;
  bool PortPresent(const std::string& port) override { return !port_present || port_present(port); }

  std::vector<std::string> Messages() const;  // the texts of the plain message boxes, in order
  std::vector<std::string> Errors() const;    // the texts of the exception displays, in order
  void Clear();
};

}  // namespace zorvan::app::testing
