#pragma once
// The percentage gauge: a maroon bar over a light track, with its caption ("42%")
// centred on it, white over the bar and dark over the track.

#include <string>

#include "app/win32/painted_control.h"

namespace zorvan::win32 {

struct GaugeCreateArgs {
  Parent parent;
  Rect bounds;
};

class Gauge : public PaintedControl {
 public:
  void Create(const GaugeCreateArgs& args);

  // `filled` ten-thousandths of the bar drawn filled from the left, and `caption` across
  // its middle.
  void Show(int filled, std::string caption);
  const std::string& Caption() const { return caption_; }

 protected:
  void Paint(HDC dc, const RECT& area) override;

 private:
  int filled_ = 0;
  std::string caption_;
};

}  // namespace zorvan::win32
