#pragma once
// One row of the production window: a panel holding the port's name, its large state
// field, the port's counts and last device, and the button that starts or stops that
// port alone.

#include <functional>

#include "app/production_form_view.h"
#include "app/win32/button.h"
#include "app/win32/label.h"
#include "app/win32/panel.h"
#include "app/win32/state_field.h"

namespace zorvan::win32 {

class ProductionRowPanel {
 public:
  // Made at `top` of the rows' area, `number` counted from 0 (the controls' identifiers).
  ProductionRowPanel(const Parent& parent, const Rect& bounds, int number);

  void Show(const app::RowLook& look);
  // The row's one control the operator acts on, for the window's Tab order.
  const Control& ButtonControl() const { return button_; }

  std::function<void()> onButtonClick;

 private:
  Panel panel_;
  Label port_;
  StateField state_;
  Label counts_;
  Label last_device_;
  Button button_;
};

// The row's height in design pixels, and the gap below it.
inline constexpr int kProductionRowHeight = 50;
inline constexpr int kProductionRowGap = 4;

// The state field's look for a row's colour and percentage.
StateLook StateLookOf(const app::RowLook& look);

}  // namespace zorvan::win32
