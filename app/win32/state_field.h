#pragma once
// A production row's state field: a rounded box filled with the colour of what the port
// is doing, its state in large letters across it, and while a device is programmed the
// run's share of the box filled in a deeper shade from the left, as a gauge; the text is
// cut where the shades meet, each part in the ink that reads on its shade.

#include <string>

#include "app/win32/painted_control.h"

namespace zorvan::win32 {

struct StateFieldCreateArgs {
  Parent parent;
  Rect bounds;
};

struct StateLook {
  std::string text;
  COLORREF fill = RGB(0xd5, 0xda, 0xe0);
  COLORREF ink = colour::kText;
  // The share filled in `done` from the left, in per cent, the text over it in
  // `done_ink`; -1: none, all in `fill`.
  int percent = -1;
  COLORREF done = RGB(0xd5, 0xda, 0xe0);
  COLORREF done_ink = colour::kText;

  bool operator==(const StateLook&) const = default;
};

class StateField : public PaintedControl {
 public:
  void Create(const StateFieldCreateArgs& args);
  // Painted only when it changes. The text is also the window's text, where a screen
  // reader or a test tool looks for it.
  void Show(const StateLook& look);

 protected:
  void Paint(HDC dc, const RECT& area) override;

 private:
  StateLook look_;
};

}  // namespace zorvan::win32
