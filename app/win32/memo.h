#pragma once
// A multi-line text that holds text for the program, such as the device's description
// and the run's log; it keeps any amount of text, lines joined with CR LF.

#include <string>

#include "app/win32/control.h"

namespace zorvan::win32 {

struct MemoCreateArgs {
  Parent parent;
  Rect bounds;
  FontKind font = FontKind::Normal;
  bool visible = true;
  std::string hint;
};

class Memo : public Control {
 public:
  void Create(const MemoCreateArgs& args);
  // Adds `utf8` as a line of its own after the text there is.
  void AppendLine(std::string_view utf8);
};

}  // namespace zorvan::win32
