#pragma once
// A list of items to tick: the system's list view, one column without a header, a check
// box before each item, scrolling when the items outnumber its height.

#include <functional>
#include <string>
#include <vector>

#include "app/win32/control.h"

namespace zorvan::win32 {

struct CheckListCreateArgs {
  Parent parent;
  Rect bounds;
  std::string hint;
};

struct CheckItem {
  std::string text;
  bool ticked = false;
};

class CheckList : public Control {
 public:
  void Create(const CheckListCreateArgs& args);

  // Replaces the items shown. Not reported through onTicked.
  void SetItems(const std::vector<CheckItem>& items);
  int Count() const;
  bool Ticked(int index) const;

  // The operator ticked or cleared the item `index`, with the mouse or the Space key.
  std::function<void(int index, bool ticked)> onTicked;

  void ApplyDpi() override;

 protected:
  bool OnNotify(const NMHDR& header, LRESULT& result) override;

 private:
  void FitColumn();

  bool filling_ = false;
};

}  // namespace zorvan::win32
