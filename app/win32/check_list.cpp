#include "app/win32/check_list.h"

#include <commctrl.h>

#include "app/win32/utf.h"

namespace zorvan::win32 {

namespace {

// The list view's state images: 1 a clear box, 2 a ticked one.
constexpr UINT kClearBox = 1;
constexpr UINT kTickedBox = 2;

UINT BoxOf(UINT state) { return (state & LVIS_STATEIMAGEMASK) >> 12; }

}  // namespace

void CheckList::Create(const CheckListCreateArgs& args) {
  Control::Create({.parent = args.parent,
                   .window_class = WC_LISTVIEWW,
                   .style = WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                            LVS_SHOWSELALWAYS,
                   .ex_style = WS_EX_CLIENTEDGE,
                   .bounds = args.bounds});
  ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = Scale(args.bounds.width);
  ListView_InsertColumn(hwnd(), 0, &column);
  FitColumn();
  if (!args.hint.empty()) SetHint(args.hint);
}

void CheckList::SetItems(const std::vector<CheckItem>& items) {
  filling_ = true;
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  const int count = Count();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    std::wstring text = Widen(items[static_cast<size_t>(i)].text);
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = text.data();
    if (i < count) {
      ListView_SetItem(hwnd(), &item);
    } else {
      ListView_InsertItem(hwnd(), &item);
    }
    ListView_SetCheckState(hwnd(), i, items[static_cast<size_t>(i)].ticked);
  }
  for (int i = count - 1; i >= static_cast<int>(items.size()); --i) ListView_DeleteItem(hwnd(), i);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
  filling_ = false;
}

int CheckList::Count() const { return ListView_GetItemCount(hwnd()); }

bool CheckList::Ticked(int index) const { return ListView_GetCheckState(hwnd(), index) != 0; }

void CheckList::ApplyDpi() {
  Control::ApplyDpi();
  FitColumn();
}

// The one column spans the list, less a vertical scroll bar's width, so that no
// horizontal one is needed.
void CheckList::FitColumn() {
  RECT client;
  GetClientRect(hwnd(), &client);
  ListView_SetColumnWidth(hwnd(), 0, client.right - GetSystemMetrics(SM_CXVSCROLL));
}

bool CheckList::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != LVN_ITEMCHANGED) return false;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  result = 0;
  if (filling_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0) return true;
  const UINT before = BoxOf(change.uOldState);
  const UINT after = BoxOf(change.uNewState);
  // An item comes with no box at all before it gets its first.
  if (before == after || (after != kClearBox && after != kTickedBox) || before == 0) return true;
  if (onTicked) onTicked(change.iItem, after == kTickedBox);
  return true;
}

}  // namespace zorvan::win32
