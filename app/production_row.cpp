#include "app/production_row.h"

#include "app/app_texts.h"
#include "common/display_text.h"

namespace zorvan::app {

std::string TallyText(const CycleTally& tally) {
  return "Прошито " + std::to_string(tally.passed) + ", збоїв " + std::to_string(tally.failed) + ", відмов " +
         std::to_string(tally.refused);
}

std::string TallyWithTimeText(const CycleTally& tally) {
  return TallyText(tally) +
         (tally.Devices() > 0 ? ", " + DurationText(tally.SecondsPerDevice()) + "/прилад" : std::string());
}

std::string DeviceLogLine(const std::string& time_of_day, const std::string& port, const std::string& description,
                          const std::string& message, double seconds) {
  return time_of_day + "  " + (port.empty() ? std::string() : port + "  ") + OneLine(description) + "  " +
         message + "  (" + DurationText(seconds) + ")";
}

const char* PhaseText(CyclePhase phase) {
  switch (phase) {
    case CyclePhase::WaitingForDevice: return kAutoWaiting;
    case CyclePhase::Programming: return kAutoProgramming;
    case CyclePhase::Passed: return kAutoPassed;
    case CyclePhase::Failed: return kAutoFailed;
    case CyclePhase::Refused: return kAutoRefused;
    case CyclePhase::AlreadyProgrammed: return kAutoAlreadyProgrammed;
    case CyclePhase::PortMissing: return kAutoPortMissing;
    case CyclePhase::PortError: return kAutoPortError;
  }
  return "";
}

RowColour PhaseColour(CyclePhase phase) {
  switch (phase) {
    case CyclePhase::WaitingForDevice: return RowColour::Grey;
    case CyclePhase::Programming: return RowColour::Blue;
    case CyclePhase::Passed: return RowColour::Green;
    case CyclePhase::Failed: return RowColour::Red;
    case CyclePhase::Refused:
    case CyclePhase::AlreadyProgrammed: return RowColour::Amber;
    case CyclePhase::PortMissing:
    case CyclePhase::PortError: return RowColour::Dark;
  }
  return RowColour::Grey;
}

std::string ProductionRow::Phase(CyclePhase phase, const CycleTally& tally, const std::string& detail,
                                 const std::string& time_of_day, const std::string& port) {
  current_ = tally;
  phase_ = phase;
  if (phase != CyclePhase::Failed && phase != CyclePhase::PortMissing) failed_with_port_ = false;
  if (phase == CyclePhase::Programming) {
    description_ = detail;
    percent_ = -1;
  }
  std::string line;
  // A port error is logged once, not at every look that meets it again; its own first
  // line, since its advice to restart the program does not hold for a port looked at
  // afresh by itself.
  if (phase == CyclePhase::PortError && detail != port_error_) {
    line = time_of_day + "  " + (port.empty() ? std::string() : port + "  ") + kAutoPortError + ": " +
           EndingMessage({detail}, false);
  }
  port_error_ = phase == CyclePhase::PortError ? detail : std::string();
  return line;
}

std::string ProductionRow::Device(const LineRun& run, const std::string& time_of_day, const std::string& port) {
  if (run.result == DeviceResult::Gone) return {};
  failed_with_port_ = run.result == DeviceResult::PortLost;
  const std::string description = run.description.empty() ? description_ : run.description;
  last_device_ = OneLine(description) + "  " + DurationText(run.seconds);
  return DeviceLogLine(time_of_day, port, description, run.message, run.seconds);
}

void ProductionRow::Started() {
  running_ = true;
  ending_ = false;
  record_failed_ = false;
  phase_ = CyclePhase::WaitingForDevice;
  current_ = {};
  percent_ = -1;
  port_error_.clear();
  failed_with_port_ = false;
}

void ProductionRow::Ended() {
  earlier_ += current_;
  current_ = {};
  running_ = false;
  ending_ = false;
}

CyclePhase ProductionRow::ShownPhase() const {
  return phase_ == CyclePhase::PortMissing && failed_with_port_ ? CyclePhase::Failed : phase_;
}

std::string ProductionRow::StateText() const {
  if (!running_) return record_failed_ ? kLineNotRecorded : kAutoEnded;
  if (phase_ != CyclePhase::Programming) return PhaseText(ShownPhase());
  std::string text = ending_ ? kAutoLastRun : kAutoProgramming;
  if (percent_ >= 0) text += " " + std::to_string(percent_) + "%";
  return text;
}

RowColour ProductionRow::Colour() const {
  if (!running_) return record_failed_ ? RowColour::Dark : RowColour::Grey;
  return PhaseColour(ShownPhase());
}

CycleTally ProductionRow::Counts() const {
  CycleTally counts = earlier_;
  counts += current_;
  return counts;
}

}  // namespace zorvan::app
