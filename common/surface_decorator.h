#pragma once
// An operator surface that passes every act on to another one: a base for surfaces that
// keep some acts from the operator (a device looked for quietly, a run of the production
// loop that must not stop it with a message box) and let the rest through.

#include "common/operator_surface.h"

namespace zorvan {

class SurfaceDecorator : public OperatorSurface {
 public:
  explicit SurfaceDecorator(OperatorSurface& inner) : inner_(inner) {}

  void SetGaugeMax(int64_t max) override { inner_.SetGaugeMax(max); }
  void SetGaugeProgress(int64_t progress) override { inner_.SetGaugeProgress(progress); }
  int64_t GaugeProgress() const override { return inner_.GaugeProgress(); }
  void SetChunkBarMax(int max) override { inner_.SetChunkBarMax(max); }
  void SetChunkBarPosition(int position) override { inner_.SetChunkBarPosition(position); }
  int ChunkBarPosition() const override { return inner_.ChunkBarPosition(); }
  void SetStatus(const std::string& text) override { inner_.SetStatus(text); }
  void SetCalibration(const std::string& text) override { inner_.SetCalibration(text); }
  void SetMemoText(const std::string& text) override { inner_.SetMemoText(text); }
  void AddMemoLine(const std::string& line) override { inner_.AddMemoLine(line); }
  std::string MemoText() const override { return inner_.MemoText(); }
  void ClearFirmwareText() override { inner_.ClearFirmwareText(); }
  void SetEnabled(Control control, bool enabled) override { inner_.SetEnabled(control, enabled); }
  void Focus(Control control) override { inner_.Focus(control); }
  std::string PortName() const override { return inner_.PortName(); }
  int BaudRateIndex() const override { return inner_.BaudRateIndex(); }
  std::string LastHexFileName() const override { return inner_.LastHexFileName(); }
  void ShowMessage(const std::string& text) override { inner_.ShowMessage(text); }
  void MessageBeep(unsigned type) override { inner_.MessageBeep(type); }
  void Beep(unsigned frequency_hz, unsigned duration_ms) override { inner_.Beep(frequency_hz, duration_ms); }
  void ProcessMessages() override { inner_.ProcessMessages(); }
  void BringToFront() override { inner_.BringToFront(); }
  void Sleep(unsigned milliseconds) override { inner_.Sleep(milliseconds); }
  std::string TimeOfDay() const override { return inner_.TimeOfDay(); }

 private:
  OperatorSurface& inner_;
};

}  // namespace zorvan
