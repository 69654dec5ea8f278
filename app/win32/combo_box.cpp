#include "app/win32/combo_box.h"

#include <commctrl.h>

#include "app/win32/utf.h"

namespace zorvan::win32 {

namespace {

// The frame a closed combo box draws around its text, above and below.
constexpr int kFrameHeight = 6;

}  // namespace

void ComboBox::Create(const ComboBoxCreateArgs& args) {
  visible_items_ = args.visible_items;
  Control::Create({.parent = args.parent,
                   .window_class = WC_COMBOBOXW,
                   .style = static_cast<DWORD>(WS_VISIBLE | WS_TABSTOP | WS_VSCROLL |
                                                (args.editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST)),
                   .bounds = args.bounds,
                   .text = args.text,
                   .cursor = args.hand_cursor ? LoadCursorW(nullptr, IDC_HAND) : nullptr});
  if (args.editable) SetText(args.text);
  if (!args.hint.empty()) SetHint(args.hint);
}

void ComboBox::ApplyDpi() {
  // A combo box's window reaches down over its open list; its own height follows from
  // the height of its text field.
  const Rect& bounds = Bounds();
  const int field = Scale(bounds.height) - Scale(kFrameHeight);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  SendMessageW(hwnd(), CB_SETMINVISIBLE, visible_items_, 0);
  const int item = static_cast<int>(SendMessageW(hwnd(), CB_GETITEMHEIGHT, 0, 0));
  SetWindowPos(hwnd(), nullptr, Scale(bounds.left), Scale(bounds.top), Scale(bounds.width),
               Scale(bounds.height) + item * visible_items_ + Scale(2), SWP_NOZORDER | SWP_NOACTIVATE);
}

void ComboBox::SetItems(const std::vector<std::string>& items) {
  SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    const std::wstring text = Widen(item);
    SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

void ComboBox::SetSelection(int index) { SendMessageW(hwnd(), CB_SETCURSEL, index, 0); }

int ComboBox::Selection() const { return static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0)); }

bool ComboBox::OnCommand(WORD code) {
  if (code == CBN_SELCHANGE && onSelectionChanged) {
    onSelectionChanged();
    return true;
  }
  if (code == CBN_EDITCHANGE && onTextChanged) {
    onTextChanged();
    return true;
  }
  return false;
}

}  // namespace zorvan::win32
