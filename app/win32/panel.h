#pragma once
// A panel: a white, rounded, framed area that holds controls of its own. Tab moves into
// and out of it as if its controls were the form's.

#include "app/win32/painted_control.h"

namespace zorvan::win32 {

struct PanelCreateArgs {
  Parent parent;
  Rect bounds;
};

class Panel : public PaintedControl {
 public:
  void Create(const PanelCreateArgs& args);
  // The panel as the parent of the controls it holds.
  Parent AsParent() { return {&form(), hwnd(), colour::kPanel}; }

 protected:
  void Paint(HDC dc, const RECT& area) override;
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
};

}  // namespace zorvan::win32
