#pragma once
// The system's smooth progress bar, which keeps the range and the position, painted as
// the skin's BAR: maroon on a light rounded track.

#include "app/win32/painted_control.h"

namespace zorvan::win32 {

struct ProgressBarCreateArgs {
  Parent parent;
  Rect bounds;
};

class ProgressBar : public PaintedControl {
 public:
  void Create(const ProgressBarCreateArgs& args);
  void SetMax(int max);
  int Max() const;
  void SetPosition(int position);
  int Position() const;

 protected:
  void Paint(HDC dc, const RECT& area) override;
};

}  // namespace zorvan::win32
