#pragma once
// An operator surface that keeps every act in order, so that tests can state what the
// operator saw and heard, step by step.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/gauge_model.h"
#include "common/operator_surface.h"

namespace zorvan::testing {

class RecordingSurface : public OperatorSurface {
 public:
  // Acts are recorded as short texts: "gauge.max 10", "gauge 3", "chunk.max 16",
  // "chunk 2", "status <text>", "calibration <text>", "memo <text>", "memo+ <line>",
  // "firmware.clear", "enable <control>", "disable <control>", "focus <control>",
  // "message <text>", "beep <type>", "tone <hz> <ms>", "front", "sleep <ms>".
  // Gauge steps and message processing are recorded only when asked for.
  std::vector<std::string> acts;
  std::vector<std::string> messages;
  std::vector<unsigned> beeps;
  bool record_gauge_steps = true;
  bool record_sleeps = false;
  bool really_sleep = true;
  int processed = 0;  // how often pending messages were let through
  // Runs inside ProcessMessages, as a nested keyboard command would.
  std::function<void()> on_process_messages;
  // Runs inside ShowMessage instead of waiting for an operator.
  std::function<void(const std::string&)> on_message;

  std::string port_name = "pty";
  int baud_rate_index = 12;
  std::string hex_file_name;
  std::map<Control, bool> enabled = {{Control::ButtonWrite, true},
                                     {Control::ButtonConect, true},
                                     {Control::ButtonOpenHex, true},
                                     {Control::cbPort, true},
                                     {Control::cbBaudRate, true}};
  GaugeModel gauge;
  int chunk_max = 100;
  int chunk_position = 0;
  std::string status = "Визначте прилад";
  std::string calibration = "Автокалібровка: 0.0.0";
  std::string memo;
  std::string focused;

  void SetGaugeMax(int64_t max) override;
  void SetGaugeProgress(int64_t progress) override;
  int64_t GaugeProgress() const override { return gauge.Progress(); }
  void SetChunkBarMax(int max) override;
  void SetChunkBarPosition(int position) override;
  int ChunkBarPosition() const override { return chunk_position; }
  void SetStatus(const std::string& text) override;
  void SetCalibration(const std::string& text) override;
  void SetMemoText(const std::string& text) override;
  void AddMemoLine(const std::string& line) override;
  std::string MemoText() const override { return memo; }
  void ClearFirmwareText() override { acts.push_back("firmware.clear"); }
  void SetEnabled(Control control, bool on) override;
  void Focus(Control control) override;
  std::string PortName() const override { return port_name; }
  int BaudRateIndex() const override { return baud_rate_index; }
  std::string LastHexFileName() const override { return hex_file_name; }
  void ShowMessage(const std::string& text) override;
  void MessageBeep(unsigned type) override;
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  void ProcessMessages() override;
  void BringToFront() override { acts.push_back("front"); }
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override { return "12:34:56"; }

  // The acts that begin with `prefix`, in order.
  std::vector<std::string> ActsStartingWith(const std::string& prefix) const;
};

const char* ControlName(Control control);

}  // namespace zorvan::testing
