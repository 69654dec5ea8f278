#pragma once
// A combo box: a drop-down list to pick from, or, when editable, a text with a list.

#include <functional>
#include <string>
#include <vector>

#include "app/win32/control.h"

namespace zorvan::win32 {

struct ComboBoxCreateArgs {
  Parent parent;
  // The height is the closed box's; the list drops below it.
  Rect bounds;
  bool editable = false;
  std::string text;  // an editable box's text at creation
  std::string hint;
  bool hand_cursor = false;
  int visible_items = 15;
};

class ComboBox : public Control {
 public:
  void Create(const ComboBoxCreateArgs& args);

  void SetItems(const std::vector<std::string>& items);
  // -1 for no selection. Choosing from code does not raise onSelectionChanged.
  void SetSelection(int index);
  int Selection() const;

  // The operator picked an item, with the mouse or the keyboard.
  std::function<void()> onSelectionChanged;
  // The operator changed an editable box's text; raised for every keystroke.
  std::function<void()> onTextChanged;

  void ApplyDpi() override;

 protected:
  bool OnCommand(WORD code) override;

 private:
  int visible_items_ = 15;
};

}  // namespace zorvan::win32
