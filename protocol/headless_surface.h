#pragma once
// The operator surface of a program without a window (the command line, the simulated
// device, the benchmarks): the gauges' numbers, the labels and the memo are kept, the
// controls of the window have nothing to stand for, and messages go to a stream as a
// terminal shows them.

#include <iosfwd>
#include <string>

#include "common/gauge_model.h"
#include "common/operator_surface.h"
#include "serial/queued_gui_thread.h"

namespace zorvan {

// A message as a terminal shows it: messages join their lines with CR LF and pad some
// with spaces to centre them, as message boxes do; a terminal wants LF alone and every
// line at the left margin.
std::string TerminalLines(const std::string& text);

class HeadlessSurface : public OperatorSurface {
 public:
  explicit HeadlessSurface(std::ostream& messages) : messages_(&messages) {}

  void SetGaugeMax(int64_t max) override { gauge_.SetMaxValue(max); }
  void SetGaugeProgress(int64_t progress) override { gauge_.SetProgress(progress); }
  int64_t GaugeProgress() const override { return gauge_.Progress(); }

  void SetChunkBarMax(int max) override { chunk_max_ = max; }
  void SetChunkBarPosition(int position) override { chunk_position_ = position; }
  int ChunkBarPosition() const override { return chunk_position_; }

  void SetStatus(const std::string& text) override { status_ = text; }
  void SetCalibration(const std::string& text) override { calibration_ = text; }

  void SetMemoText(const std::string& text) override { memo_ = text; }
  void AddMemoLine(const std::string& line) override;
  std::string MemoText() const override { return memo_; }
  void ClearFirmwareText() override {}

  void SetEnabled(Control, bool) override {}
  void Focus(Control) override {}

  std::string PortName() const override { return port_name_; }
  int BaudRateIndex() const override { return baud_rate_index_; }
  std::string LastHexFileName() const override { return hex_file_name_; }

  // The message's lines as a terminal shows them.
  void ShowMessage(const std::string& text) override;
  void MessageBeep(unsigned) override {}
  void Beep(unsigned frequency_hz, unsigned duration_ms) override;
  // Serves the port's line events waiting for this surface's GUI thread.
  void ProcessMessages() override;
  void BringToFront() override {}
  void Sleep(unsigned milliseconds) override;
  std::string TimeOfDay() const override;

  void SetPortChoice(std::string port, int baud_rate_index) {
    port_name_ = std::move(port);
    baud_rate_index_ = baud_rate_index;
  }
  void SetHexFileName(std::string name) { hex_file_name_ = std::move(name); }
  // The GUI thread whose waiting calls ProcessMessages serves; DefaultGuiThread() unless
  // set. Each run of a gang serves its own port's.
  void SetGuiThread(QueuedGuiThread& gui) { gui_ = &gui; }
  const std::string& Status() const { return status_; }
  const std::string& Calibration() const { return calibration_; }

 protected:
  // For surfaces that show messages their own way.
  HeadlessSurface() = default;

  std::ostream* messages_ = nullptr;
  QueuedGuiThread* gui_ = &DefaultGuiThread();
  GaugeModel gauge_;
  int chunk_max_ = 100;
  int chunk_position_ = 0;
  std::string status_;
  std::string calibration_;
  std::string memo_;
  std::string port_name_;
  int baud_rate_index_ = 12;
  std::string hex_file_name_;
};

}  // namespace zorvan
