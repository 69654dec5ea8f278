#include "protocol/device_probe.h"

#include "common/gauge_model.h"
#include "common/surface_decorator.h"
#include "protocol/exchanges.h"
#include "protocol/identification.h"

namespace zorvan {

namespace {

// Keeps everything the operator would see or hear to itself; the memo's text stays here
// for the version gate's reading.
class QuietSurface : public SurfaceDecorator {
 public:
  using SurfaceDecorator::SurfaceDecorator;

  void SetGaugeMax(int64_t max) override { gauge_.SetMaxValue(max); }
  void SetGaugeProgress(int64_t progress) override { gauge_.SetProgress(progress); }
  int64_t GaugeProgress() const override { return gauge_.Progress(); }
  void SetChunkBarMax(int) override {}
  void SetChunkBarPosition(int) override {}
  int ChunkBarPosition() const override { return 0; }
  void SetStatus(const std::string&) override {}
  void SetCalibration(const std::string&) override {}
  void SetMemoText(const std::string& text) override { memo_ = text; }
  void AddMemoLine(const std::string& line) override { memo_ += (memo_.empty() ? "" : "\r\n") + line; }
  std::string MemoText() const override { return memo_; }
  void ClearFirmwareText() override {}
  void SetEnabled(Control, bool) override {}
  void Focus(Control) override {}
  void ShowMessage(const std::string&) override {}
  void MessageBeep(unsigned) override {}
  void Beep(unsigned, unsigned) override {}
  void BringToFront() override {}

 private:
  GaugeModel gauge_;
  std::string memo_;
};

}  // namespace

Sighting LookForDevice(Flasher& flasher) {
  QuietSurface quiet(flasher.surface);
  Flasher looking{flasher.state, quiet, flasher.port, flasher.image};
  looking.exchange = flasher.exchange;
  const IdentifyOutcome outcome = IdentifyDevice(looking, IdentifyVariant::WriteButton, 1);
  Sighting sighting;
  sighting.present = outcome != IdentifyOutcome::NotFound;
  if (outcome == IdentifyOutcome::Found) sighting.description = quiet.MemoText();
  return sighting;
}

void LetDeviceGo(Flasher& flasher) {
  QuietSurface quiet(flasher.surface);
  Flasher going{flasher.state, quiet, flasher.port, flasher.image};
  ResetSequence(going);
  flasher.port.Close();
}

}  // namespace zorvan
