#pragma once
// A multi-line text that holds text for the program, such as the device's description
// and the run's log; it keeps any amount of text. Lines may come broken by CR LF, LF or
// CR; the control shows each as a line.
//
// What it is given reaches the control when the program is next idle, all at once: the
// system's edit control lays its whole text out again for every change, which for a
// run's log of thousands of lines would take longer than the run, and for the firmware's
// text takes a good part of the start.

#include <optional>
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
  // Hands the control what it was given since.
  void ShowNewText() const;
  void ShowWhenIdle();

  mutable std::optional<std::wstring> new_text_;  // replaces the control's text
  mutable std::wstring added_lines_;              // follow it
  bool has_lines_ = false;  // an empty memo has none; one empty line is one
};

// `text` with every line break written as CR LF, the only one an edit control shows.
std::wstring WithWindowsLineBreaks(std::string_view text);

}  // namespace zorvan::win32
