#include "app/win32/production_row_panel.h"

#include "app/win32/production_controls.h"

namespace zorvan::win32 {

namespace {

void Identify(const Control& control, int row, RowControl part) {
  SetWindowLongPtrW(control.hwnd(), GWLP_ID, ProductionControlId(row, part));
}

// Light enough to read dark letters on, or deep enough for white ones; the deeper blue,
// with white letters, is the part of a run done.
struct Shade {
  COLORREF fill;
  COLORREF ink;
};

Shade ShadeOf(app::RowColour colour) {
  switch (colour) {
    case app::RowColour::Grey: return {RGB(0xd5, 0xda, 0xe0), colour::kText};
    case app::RowColour::Blue: return {RGB(0xc4, 0xd9, 0xf4), colour::kText};
    case app::RowColour::Green: return {RGB(0x2e, 0x9d, 0x48), RGB(0xff, 0xff, 0xff)};
    case app::RowColour::Red: return {RGB(0xc6, 0x28, 0x28), RGB(0xff, 0xff, 0xff)};
    case app::RowColour::Amber: return {RGB(0xf2, 0xa9, 0x1e), colour::kText};
    case app::RowColour::Dark: return {RGB(0x3a, 0x3f, 0x47), RGB(0xff, 0xff, 0xff)};
  }
  return {RGB(0xd5, 0xda, 0xe0), colour::kText};
}

constexpr COLORREF kProgrammed = RGB(0x1f, 0x63, 0xc6);

}  // namespace

StateLook StateLookOf(const app::RowLook& look) {
  const Shade shade = ShadeOf(look.colour);
  const bool gauge = look.colour == app::RowColour::Blue;
  return {.text = look.state,
          .fill = shade.fill,
          .ink = shade.ink,
          // A run not begun yet fills its field with the deeper blue, not with nothing.
          .percent = gauge ? (look.percent >= 0 ? look.percent : 100) : -1,
          .done = gauge ? kProgrammed : shade.fill,
          .done_ink = RGB(0xff, 0xff, 0xff)};
}

ProductionRowPanel::ProductionRowPanel(const Parent& parent, const Rect& bounds, int number) {
  panel_.Create({.parent = parent, .bounds = bounds});
  const Parent inside = panel_.AsParent();
  const int width = bounds.width;
  constexpr int kButtonWidth = 98;
  constexpr int kPortWidth = 170;
  constexpr int kStateWidth = 290;
  const int info_left = 10 + kPortWidth + 6 + kStateWidth + 10;
  const int info_width = width - info_left - kButtonWidth - 20;
  port_.Create({.parent = inside,
                .bounds = {10, 5, kPortWidth, 40},
                .colour = colour::kText,
                .font = FontKind::Bold,
                .auto_size = false});
  state_.Create({.parent = inside, .bounds = {10 + kPortWidth + 6, 4, kStateWidth, 42}});
  counts_.Create({.parent = inside,
                  .bounds = {info_left, 6, info_width, 16},
                  .colour = colour::kText,
                  .font = FontKind::Bold,
                  .auto_size = false});
  last_device_.Create({.parent = inside,
                       .bounds = {info_left, 23, info_width, 24},
                       .colour = colour::kLabel,
                       .auto_size = false});
  button_.Create({.parent = inside, .bounds = {width - kButtonWidth - 10, 10, kButtonWidth, 30}});
  button_.onClick = [this] {
    if (onButtonClick) onButtonClick();
  };
  Identify(port_, number, RowControl::Port);
  Identify(state_, number, RowControl::State);
  Identify(counts_, number, RowControl::Counts);
  Identify(last_device_, number, RowControl::LastDevice);
  Identify(button_, number, RowControl::Button);
}

void ProductionRowPanel::Show(const app::RowLook& look) {
  // A label repaints on every SetText: only what changed is set, so that a run's
  // percentage does not make the whole row flicker.
  const auto set = [](Control& control, const std::string& text) {
    if (control.Text() != text) control.SetText(text);
  };
  set(port_, look.port);
  state_.Show(StateLookOf(look));
  set(counts_, look.counts);
  set(last_device_, look.last_device);
  set(button_, look.button);
  if (button_.IsEnabled() != look.button_enabled) button_.SetEnabled(look.button_enabled);
}

}  // namespace zorvan::win32
