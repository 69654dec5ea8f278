#include "tests/support/recording_surface.h"

#include <chrono>
#include <thread>

#include "serial/queued_gui_thread.h"

namespace zorvan::testing {

const char* ControlName(Control control) {
  switch (control) {
    case Control::ButtonWrite: return "ButtonWrite";
    case Control::ButtonConect: return "ButtonConect";
    case Control::ButtonOpenHex: return "ButtonOpenHex";
    case Control::cbPort: return "cbPort";
    case Control::cbBaudRate: return "cbBaudRate";
  }
  return "?";
}

void RecordingSurface::SetGaugeMax(int64_t max) {
  gauge.SetMaxValue(max);
  acts.push_back("gauge.max " + std::to_string(max));
}

void RecordingSurface::SetGaugeProgress(int64_t progress) {
  gauge.SetProgress(progress);
  if (record_gauge_steps || progress == 0) acts.push_back("gauge " + std::to_string(gauge.Progress()));
}

void RecordingSurface::SetChunkBarMax(int max) {
  chunk_max = max;
  acts.push_back("chunk.max " + std::to_string(max));
}

void RecordingSurface::SetChunkBarPosition(int position) {
  chunk_position = position;
  if (record_gauge_steps || position == 0) acts.push_back("chunk " + std::to_string(position));
}

void RecordingSurface::SetStatus(const std::string& text) {
  status = text;
  acts.push_back("status " + text);
}

void RecordingSurface::SetCalibration(const std::string& text) {
  calibration = text;
  acts.push_back("calibration " + text);
}

void RecordingSurface::SetMemoText(const std::string& text) {
  memo = text;
  acts.push_back("memo " + text);
}

void RecordingSurface::AddMemoLine(const std::string& line) {
  if (!memo.empty()) memo += "\r\n";
  memo += line;
  acts.push_back("memo+ " + line);
}

void RecordingSurface::SetEnabled(Control control, bool on) {
  enabled[control] = on;
  acts.push_back(std::string(on ? "enable " : "disable ") + ControlName(control));
}

void RecordingSurface::Focus(Control control) {
  focused = ControlName(control);
  acts.push_back("focus " + focused);
}

void RecordingSurface::ShowMessage(const std::string& text) {
  messages.push_back(text);
  acts.push_back("message " + text);
  if (on_message) on_message(text);
}

void RecordingSurface::MessageBeep(unsigned type) {
  beeps.push_back(type);
  acts.push_back("beep " + std::to_string(type));
}

void RecordingSurface::Beep(unsigned frequency_hz, unsigned duration_ms) {
  acts.push_back("tone " + std::to_string(frequency_hz) + " " + std::to_string(duration_ms));
}

void RecordingSurface::ProcessMessages() {
  ++processed;
  DefaultGuiThread().ServePending();
  if (on_process_messages) on_process_messages();
}

void RecordingSurface::Sleep(unsigned milliseconds) {
  if (record_sleeps) acts.push_back("sleep " + std::to_string(milliseconds));
  if (really_sleep) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::vector<std::string> RecordingSurface::ActsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const auto& a : acts) {
    if (a.rfind(prefix, 0) == 0) out.push_back(a);
  }
  return out;
}

}  // namespace zorvan::testing
