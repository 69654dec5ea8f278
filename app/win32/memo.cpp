#include "app/win32/memo.h"

#include "app/win32/utf.h"

namespace zorvan::win32 {

void Memo::Create(const MemoCreateArgs& args) {
  Control::Create({.parent = args.parent,
                   .window_class = L"EDIT",
                   .style = (args.visible ? WS_VISIBLE : 0u) | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                            ES_AUTOVSCROLL | ES_READONLY | ES_NOHIDESEL,
                   .ex_style = WS_EX_CLIENTEDGE,
                   .bounds = args.bounds,
                   .font = args.font});
  // An edit control otherwise stops taking text at 30,000 characters; the firmware's
  // HEX text alone is several times that.
  SendMessageW(hwnd(), EM_SETLIMITTEXT, 0, 0);
  if (!args.hint.empty()) SetHint(args.hint);
}

void Memo::AppendLine(std::string_view utf8) {
  const int length = GetWindowTextLengthW(hwnd());
  std::wstring addition = Widen(utf8);
  if (length > 0) addition.insert(0, L"\r\n");
  SendMessageW(hwnd(), EM_SETSEL, length, length);
  SendMessageW(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(addition.c_str()));
}

}  // namespace zorvan::win32
