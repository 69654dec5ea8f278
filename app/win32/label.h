#pragma once
// Text labels: the plain label (sized to its caption unless told otherwise, clickable
// when it has a click handler) and the link label, which shows a hand cursor and takes
// the window-text colour and an underline while the mouse is over it.

#include <functional>
#include <string>

#include "app/win32/control.h"

namespace zorvan::win32 {

struct LabelCreateArgs {
  Parent parent;
  Rect bounds;
  std::string text;
  COLORREF colour = colour::kText;
  FontKind font = FontKind::Normal;
  // Sized to its caption, from the designed top left, whenever the caption changes.
  bool auto_size = true;
  bool centred = false;
  bool hand_cursor = false;
  std::string hint;
};

class Label : public Control {
 public:
  void Create(const LabelCreateArgs& args);
  void SetText(std::string_view utf8) override;
  void ApplyDpi() override;

  std::function<void()> onClick;

 protected:
  bool OnCommand(WORD code) override;
  HBRUSH OnCtlColor(HDC dc) override;
  virtual COLORREF TextColour() const { return colour_; }

 private:
  void FitToText();

  COLORREF colour_ = colour::kText;
  bool auto_size_ = true;
};

class LinkLabel : public Label {
 public:
  void Create(const LabelCreateArgs& args);

 protected:
  COLORREF TextColour() const override;
  void OnHover(bool hovered) override;
};

}  // namespace zorvan::win32
