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
  added_lines_.clear();
  ForgetIdleTasks(this);
  has_lines_ = !utf8.empty();
  SetWindowTextW(hwnd(), WithWindowsLineBreaks(utf8).c_str());
}

std::string Memo::Text() const {
  ShowAddedLines();
  return Control::Text();
}

void Memo::AppendLine(std::string_view utf8) {
  if (added_lines_.empty()) RunWhenIdle(this, [this] { ShowAddedLines(); });
  if (has_lines_) added_lines_ += L"\r\n";
  added_lines_ += WithWindowsLineBreaks(utf8);
  has_lines_ = true;
}

void Memo::ShowAddedLines() const {
  if (added_lines_.empty()) return;
  const int length = GetWindowTextLengthW(hwnd());
  SendMessageW(hwnd(), EM_SETSEL, length, length);
  SendMessageW(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(added_lines_.c_str()));
  added_lines_.clear();
  ForgetIdleTasks(this);
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
