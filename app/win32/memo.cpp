#include "app/win32/memo.h"

#include "app/win32/message_loop.h"
#include "app/win32/utf.h"

namespace zorvan::win32 {

Memo::~Memo() { ForgetIdleTasks(this); }

void Memo::Create(const MemoCreateArgs& args) {
  // Word wrap: without ES_AUTOHSCROLL a line wider than the memo goes on below.
  Control::Create({.parent = args.parent,
                   .window_class = L"EDIT",
                   .style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY |
                            ES_NOHIDESEL,
                   .ex_style = WS_EX_CLIENTEDGE,
                   .bounds = args.bounds,
                   .font = args.font});
  // An edit control otherwise stops taking text at 30,000 characters; the firmware's
  // HEX text alone is several times that.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
  if (!args.hint.empty()) SetHint(args.hint);
}

void Memo::SetText(std::string_view utf8) {
  new_text_ = WithWindowsLineBreaks(utf8);
  added_lines_.clear();
  has_lines_ = !utf8.empty();
  ShowWhenIdle();
}

std::string Memo::Text() const {
  ShowNewText();
  return Control::Text();
}

void Memo::AppendLine(std::string_view utf8) {
  if (has_lines_) added_lines_ += L"\r\n";
  added_lines_ += WithWindowsLineBreaks(utf8);
  has_lines_ = true;
  ShowWhenIdle();
}

void Memo::ShowWhenIdle() {
  ForgetIdleTasks(this);
  RunWhenIdle(this, [this] { ShowNewText(); });
}

void Memo::ShowNewText() const {
  ForgetIdleTasks(this);
  if (new_text_) {
    *new_text_ += added_lines_;
    SetWindowTextW(hwnd(), new_text_->c_str());
  } else if (!added_lines_.empty()) {
    const int length = GetWindowTextLengthW(hwnd());
    SendMessageW(hwnd(), EM_SETSEL, length, length);
    SendMessageW(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added_lines_.c_str()));
  }
  new_text_.reset();
  added_lines_.clear();
}

std::wstring WithWindowsLineBreaks(std::string_view text) {
  const std::wstring wide = Widen(text);
  std::wstring lines;
  lines.reserve(wide.size() + wide.size() / 16);
  for (size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == L'\r' || c == L'\n') {
      lines += L"\r\n";
      if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') ++i;
    } else {
      lines += c;
    }
  }
  return lines;
}

}  // namespace zorvan::win32
