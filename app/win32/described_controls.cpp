#include "app/win32/described_controls.h"

#include <stdexcept>
#include <string>

#include "app/win32/button.h"
#include "app/win32/combo_box.h"
#include "app/win32/control_ids.h"
#include "app/win32/form.h"
#include "app/win32/gauge.h"
#include "app/win32/label.h"
#include "app/win32/memo.h"
#include "app/win32/panel.h"
#include "app/win32/picture_box.h"
#include "app/win32/progress_bar.h"
#include "app/win32/skin_pictures.h"

namespace zorvan::win32 {

namespace {

using app::ControlDescription;
using app::ControlKind;

// What the skin gives a control by its name, as the Linux window's style sheet does.
struct Decoration {
  COLORREF colour = colour::kText;
  const Picture* picture = nullptr;
  int picture_size = 16;
};

Decoration DecorationOf(std::string_view name, const SkinPictures& pictures) {
  if (name == "Label1" || name == "LabelNameOfHex" || name == "LabelKeys") return {.colour = colour::kLabel};
  if (name == "Label3") return {.colour = colour::kCalibration};
  if (name == "sWebLabel1") return {.colour = colour::kLink};
  if (name == "ButtonWrite") return {.picture = &pictures.write_button, .picture_size = 26};
  if (name == "sButton2") return {.picture = &pictures.maker_site};
  if (name == "sButton3") return {.picture = &pictures.about};
  if (name == "Image_Emblem") return {.picture = &pictures.emblem};
  return {};
}

ButtonLook LookOf(const ControlDescription& row) {
  if (row.kind == ControlKind::BitButton) return ButtonLook::Write;
  if (row.skin_section == "BUTTON_HUGE") return ButtonLook::Huge;
  if (row.skin_section == "DIALOG") return ButtonLook::Dialog;
  return ButtonLook::Plain;
}

FontKind FontOf(const ControlDescription& row) {
  switch (row.font_height) {
    case 0: return FontKind::Normal;
    case 15: return FontKind::Memo15;
    case 16: return FontKind::Memo16;
    default: throw std::invalid_argument("the skin has no font " + std::to_string(row.font_height) + " pixels high");
  }
}

std::unique_ptr<Control> MakeControl(const Parent& parent, const ControlDescription& row,
                                     const SkinPictures& pictures) {
  const Rect bounds{row.bounds.left, row.bounds.top, row.bounds.width, row.bounds.height};
  const std::string caption(row.caption);
  const std::string hint = row.hint_shown ? std::string(row.hint) : std::string();
  const Decoration decoration = DecorationOf(row.name, pictures);
  switch (row.kind) {
    case ControlKind::Panel: {
      auto panel = std::make_unique<Panel>();
      panel->Create({.parent = parent, .bounds = bounds});
      return panel;
    }
    case ControlKind::Label:
    case ControlKind::LinkLabel: {
      const bool link = row.kind == ControlKind::LinkLabel;
      auto label = link ? std::make_unique<LinkLabel>() : std::make_unique<Label>();
      const LabelCreateArgs args{.parent = parent,
                                 .bounds = bounds,
                                 .text = caption,
                                 .colour = decoration.colour,
                                 // A link keeps its bounds, its caption centred in them.
                                 .auto_size = !link,
                                 .centred = link,
                                 .hand_cursor = row.hand_cursor,
                                 .hint = hint};
      if (link) {
        static_cast<LinkLabel&>(*label).Create(args);
      } else {
        label->Create(args);
      }
      return label;
    }
    case ControlKind::ComboBox:
    case ControlKind::EditableComboBox: {
      auto box = std::make_unique<ComboBox>();
      box->Create({.parent = parent,
                   .bounds = bounds,
                   .editable = row.kind == ControlKind::EditableComboBox,
                   .text = caption,
                   .hint = hint,
                   .hand_cursor = row.hand_cursor});
      return box;
    }
    case ControlKind::Button:
    case ControlKind::BitButton: {
      auto button = std::make_unique<Button>();
      button->Create({.parent = parent,
                      .bounds = bounds,
                      .text = caption,
                      .look = LookOf(row),
                      .picture = decoration.picture,
                      .picture_size = decoration.picture_size,
                      .hint = hint,
                      .hand_cursor = row.hand_cursor});
      return button;
    }
    case ControlKind::Gauge: {
      auto gauge = std::make_unique<Gauge>();
      gauge->Create({.parent = parent, .bounds = bounds});
      return gauge;
    }
    case ControlKind::ProgressBar: {
      auto bar = std::make_unique<ProgressBar>();
      bar->Create({.parent = parent, .bounds = bounds});
      return bar;
    }
    case ControlKind::Memo: {
      auto memo = std::make_unique<Memo>();
      memo->Create({.parent = parent, .bounds = bounds, .font = FontOf(row), .hint = hint});
      return memo;
    }
    case ControlKind::Picture: {
      auto picture = std::make_unique<PictureBox>();
      picture->Create({.parent = parent, .bounds = bounds, .picture = decoration.picture});
      return picture;
    }
  }
  throw std::invalid_argument("a control of an unknown kind");
}

}  // namespace

std::vector<std::unique_ptr<Control>> MakeDescribedControls(Form& form, std::span<const ControlDescription> rows,
                                                            const SkinPictures& pictures) {
  std::vector<std::unique_ptr<Control>> controls;
  for (const ControlDescription& row : rows) {
    Parent parent = form.AsParent();
    if (!row.parent.empty()) {
      size_t panel = 0;
      while (panel < controls.size() && rows[panel].name != row.parent) ++panel;
      if (panel == controls.size()) throw std::invalid_argument("a control's panel comes after it");
      parent = static_cast<Panel&>(*controls[panel]).AsParent();
    }
    controls.push_back(MakeControl(parent, row, pictures));
    SetWindowLongPtrW(controls.back()->hwnd(), GWLP_ID, kFirstControlId + static_cast<LONG_PTR>(controls.size() - 1));
  }
  return controls;
}

}  // namespace zorvan::win32
