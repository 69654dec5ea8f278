#pragma once
// A multi-line text that holds text for the program, such as the device's description
// and the run's log; it keeps any amount of text. Lines may come broken by CR LF, LF or
// CR; the control shows each as a line.
//
// Lines added reach the control when the program is next idle, all at once: the system's
// edit control lays its whole text out again for every addition, which for a run's log
// of thousands of lines would take longer than the run.

#include <string>

#include "app/win32/control.h"

namespace zorvan::win32 {

struct MemoCreateArgs {
  Parent parent;
  Rect bounds;
  FontKind font = FontKind::Normal;
  std::string hint;
};

class Memo : public Control {
 public:
  ~Memo() override;

  void Create(const MemoCreateArgs& args);
  void SetText(std::string_view utf8) override;
  std::string Text() const override;
  // Adds `utf8` as a line of its own after the text there is.
  void AppendLine(std::string_view utf8);

 private:
  // Hands the lines added since to the control.
  void ShowAddedLines() const;

  mutable std::wstring added_lines_;
  bool has_lines_ = false;  // an empty memo has none; one empty line is one
};

// `text` with every line break written as CR LF, the only one an edit control shows.
std::wstring WithWindowsLineBreaks(std::string_view text);

}  // namespace zorvan::win32
