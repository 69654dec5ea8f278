#pragma once
// The identifier each described control carries: its row's index in its window's
// description, from kFirstControlId on. Tools that look at the running window from
// outside (the window's tests under Wine, an automation tool) find a control by it.

namespace zorvan::win32 {

// Above the dialog manager's IDOK and IDCANCEL, which Enter and Esc send to a window.
inline constexpr int kFirstControlId = 100;

}  // namespace zorvan::win32
