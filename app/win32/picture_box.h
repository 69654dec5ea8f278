#pragma once
// A picture shown at its designed size from the top left of its bounds.

#include "app/win32/painted_control.h"

namespace zorvan::win32 {

class Picture;

struct PictureBoxCreateArgs {
  Parent parent;
  Rect bounds;
  const Picture* picture = nullptr;
};

class PictureBox : public PaintedControl {
 public:
  void Create(const PictureBoxCreateArgs& args);

 protected:
  void Paint(HDC dc, const RECT& area) override;

 private:
  const Picture* picture_ = nullptr;
};

}  // namespace zorvan::win32
