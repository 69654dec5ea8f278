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
  // its middle. Preparing an image moves the bar ten thousand times in each phase: only
  // a change the eye can see is painted.
  void Show(int filled, std::string caption);
  const std::string& Caption() const { return caption_; }

 protected:
  void Paint(HDC dc, const RECT& area) override;

 private:
  // The width of the filled part, in pixels.
  int FilledWidth(int filled) const;

  int filled_ = 0;
  std::string caption_;
};

}  // namespace zorvan::win32
