#pragma once
// The percentage gauge: a maroon bar over a light track with the share done, in whole
// percent and followed by its suffix, centred on it. The numbers, their clamping and
// their rounding are GaugeModel's, shared with the command line's progress bar.

#include <cstdint>
#include <string>

#include "app/win32/painted_control.h"
#include "common/gauge_model.h"

namespace zorvan::win32 {

struct GaugeCreateArgs {
  Parent parent;
  Rect bounds;
  std::string suffix = "%";
};

class Gauge : public PaintedControl {
 public:
  void Create(const GaugeCreateArgs& args);

  // As GaugeModel's: a negative maximum is refused, the progress clamps.
  void SetMaxValue(int64_t value);
  void SetMinValue(int64_t value);
  void SetProgress(int64_t value);
  const GaugeModel& Values() const { return model_; }
  // What the gauge shows, "42%".
  std::string Caption() const;

 protected:
  void Paint(HDC dc, const RECT& area) override;

 private:
  // The image preparation moves the gauge hundreds of thousands of times: only a change
  // that shows is worth a repaint.
  template <typename Change>
  void Update(Change change);
  int FilledWidth() const;

  GaugeModel model_;
  std::string suffix_;
};

}  // namespace zorvan::win32
