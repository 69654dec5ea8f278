// zorvan-window-probe: reads the running window from outside, as an operator's eyes
// would, for the window's tests under Wine: a control's text, a box's items, where a
// control lies, and the message box on the screen. It never acts on the window: the
// tests press keys and click through the window system.
//   zorvan-window-probe text CONTROL          the text of a main window's control
//   zorvan-window-probe wait CONTROL S TEXT   waits up to S seconds until it reads TEXT
//   zorvan-window-probe until CONTROL S TEXT  prints the text it reads first, then waits
//                                             up to S seconds until it reads a text that
//                                             begins with TEXT; prints that text, then
//                                             when it was read, in milliseconds since
//                                             1970 (the clock `date +%s%3N` reads), for a
//                                             test to time what the window does
//   zorvan-window-probe items CONTROL         a combo box's items, one a line
//   zorvan-window-probe enabled CONTROL       1 or 0
//   zorvan-window-probe bounds CONTROL        left top width height in the window's
//                                             client area, then the centre on the screen
//   zorvan-window-probe size main|help|production  the window's client area: width height
//   zorvan-window-probe title main|help|production the window's title
//   zorvan-window-probe tooltip S             waits up to S seconds for a tooltip on the
//                                             screen and prints its text
//   zorvan-window-probe focus                 the main window's control that has the
//                                             focus, or "none"; then whether the window
//                                             takes input (1 or 0)
//   zorvan-window-probe message S             waits up to S seconds for a message box
//                                             (or a dialog): its title, its place on the
//                                             screen (left top width height), its text
//   zorvan-window-probe file-name             the file name box of the open dialog on
//                                             the screen
// A control of the production window is named "Production." and its name there
// (app/win32/production_controls.h): Production.StartAll, Production.Row2.State.
// Texts are UTF-8. Exit status 0, 1 when what was asked for is not there (in time), 2 on
// bad arguments.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/app_texts.h"
#include "app/form_description.h"
#include "app/win32/control_ids.h"
#include "app/win32/production_controls.h"
#include "app/win32/utf.h"

namespace {

using zorvan::win32::Narrow;
using zorvan::win32::Widen;

void Print(const std::string& text) {
  const std::string line = text + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

HWND MainWindow() {
  return FindWindowW(L"Zorvan.Window", Widen(zorvan::app::kProgramTitle).c_str());
}

HWND HelpWindow() { return FindWindowW(L"Zorvan.Window", Widen(zorvan::app::kHelpTitle).c_str()); }

BOOL CALLBACK NoteProductionWindow(HWND window, LPARAM lparam) {
  if (!GetPropW(window, zorvan::win32::kProductionWindowProperty)) return TRUE;
  *reinterpret_cast<HWND*>(lparam) = window;
  return FALSE;
}

// The production window, shown or not; its title is the form's to choose.
HWND ProductionWindow() {
  HWND found = nullptr;
  EnumWindows(NoteProductionWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND WindowNamed(const std::string& name) {
  if (name == "help") return HelpWindow();
  if (name == "production") return ProductionWindow();
  return MainWindow();
}

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK NoteControl(HWND window, LPARAM lparam) {
  auto& search = *reinterpret_cast<Search*>(lparam);
  if (GetDlgCtrlID(window) != search.id) return TRUE;
  search.found = window;
  return FALSE;
}

constexpr std::string_view kProductionPrefix = "Production.";

// The main window's or the production window's control of that name, or nullptr.
HWND ControlOf(const std::string& name) {
  if (name.starts_with(kProductionPrefix)) {
    const HWND window = ProductionWindow();
    const int id = zorvan::win32::ProductionControlId(std::string_view(name).substr(kProductionPrefix.size()));
    if (!window || id == 0) return nullptr;
    Search search{id, nullptr};
    EnumChildWindows(window, NoteControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  const HWND window = MainWindow();
  if (!window) return nullptr;
  for (size_t i = 0; i < zorvan::app::kMainFormControls.size(); ++i) {
    if (zorvan::app::kMainFormControls[i].name != name) continue;
    Search search{zorvan::win32::kFirstControlId + static_cast<int>(i), nullptr};
    EnumChildWindows(window, NoteControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  return nullptr;
}

// Asked of the control's own window procedure: a control of another process keeps its
// text to itself otherwise.
std::string TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return Narrow(text);
}

std::vector<std::string> ItemsOf(HWND box) {
  std::vector<std::string> items;
  const auto count = SendMessageW(box, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    item.resize(static_cast<size_t>(SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.push_back(Narrow(item));
  }
  return items;
}

// A visible top-level window of the class named by `found` on entry, which it then
// holds, or nullptr.
struct Visible {
  const wchar_t* kind;
  HWND found;
};

BOOL CALLBACK NoteVisible(HWND window, LPARAM lparam) {
  auto& search = *reinterpret_cast<Visible*>(lparam);
  wchar_t kind[64] = {};
  GetClassNameW(window, kind, 64);
  if (std::wstring(kind) != search.kind || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

HWND VisibleWindowOf(const wchar_t* kind) {
  Visible search{kind, nullptr};
  EnumWindows(NoteVisible, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Repeats `attempt` every `interval` until it succeeds or `seconds` pass: every 50 ms is
// often enough for the benchmarks to time what it waits for.
template <typename Attempt>
bool Within(double seconds, Attempt attempt, std::chrono::milliseconds interval = std::chrono::milliseconds(50)) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (attempt()) return true;
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(interval);
  }
}

int Probe(const std::vector<std::string>& args) {
  if (args.empty()) return 2;
  const std::string& command = args[0];
  if (command == "message" && args.size() == 2) {
    HWND box = nullptr;
    if (!Within(std::stod(args[1]), [&] { return (box = VisibleWindowOf(L"#32770")) != nullptr; })) return 1;
    Print(TextOf(box));
    RECT place;
    GetWindowRect(box, &place);
    Print(std::to_string(place.left) + " " + std::to_string(place.top) + " " + std::to_string(place.right - place.left) +
          " " + std::to_string(place.bottom - place.top));
    // The box's text is the static control the system gives the identifier 0xFFFF.
    const HWND text = GetDlgItem(box, 0xFFFF);
    Print(text ? TextOf(text) : std::string());
    return 0;
  }
  if (command == "file-name") {
    const HWND dialog = VisibleWindowOf(L"#32770");
    if (!dialog) return 1;
    // cmb13 in the system's dialog, edt1 in older ones.
    HWND name = GetDlgItem(dialog, 0x47c);
    if (!name) name = GetDlgItem(dialog, 0x480);
    if (!name) return 1;
    Print(TextOf(name));
    return 0;
  }
  if (command == "tooltip" && args.size() == 2) {
    HWND tip = nullptr;
    if (!Within(std::stod(args[1]), [&] { return (tip = VisibleWindowOf(L"tooltips_class32")) != nullptr; })) {
      return 1;
    }
    Print(TextOf(tip));
    return 0;
  }
  if (command == "title" && args.size() == 2) {
    const HWND window = WindowNamed(args[1]);
    if (!window) return 1;
    Print(TextOf(window));
    return 0;
  }
  if (command == "size" && args.size() == 2) {
    const HWND window = WindowNamed(args[1]);
    if (!window) return 1;
    RECT client;
    GetClientRect(window, &client);
    Print(std::to_string(client.right) + " " + std::to_string(client.bottom));
    return 0;
  }
  if (command == "focus") {
    const HWND window = MainWindow();
    if (!window) return 1;
    GUITHREADINFO gui = {sizeof gui};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &gui);
    std::string focused = "none";
    for (size_t i = 0; i < zorvan::app::kMainFormControls.size(); ++i) {
      const HWND control = ControlOf(std::string(zorvan::app::kMainFormControls[i].name));
      if (gui.hwndFocus && (gui.hwndFocus == control || IsChild(control, gui.hwndFocus))) {
        focused = zorvan::app::kMainFormControls[i].name;
      }
    }
    Print(focused);
    Print(IsWindowEnabled(window) ? "1" : "0");
    return 0;
  }
  if (args.size() < 2) return 2;
  const std::string& name = args[1];
  if (command == "wait" && args.size() == 4) {
    std::string seen;
    const bool found = Within(std::stod(args[2]), [&] {
      const HWND control = ControlOf(name);
      seen = control ? TextOf(control) : std::string();
      return control && seen == args[3];
    });
    Print(seen);
    return found ? 0 : 1;
  }
  if (command == "until" && args.size() == 4) {
    const HWND first = ControlOf(name);
    Print(first ? TextOf(first) : std::string());
    std::string seen;
    const bool found = Within(
        std::stod(args[2]),
        [&] {
          const HWND control = ControlOf(name);
          seen = control ? TextOf(control) : std::string();
          return control && seen.rfind(args[3], 0) == 0;
        },
        std::chrono::milliseconds(10));
    const auto read_at = std::chrono::system_clock::now().time_since_epoch();
    Print(seen);
    if (found) Print(std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(read_at).count()));
    return found ? 0 : 1;
  }
  const HWND control = ControlOf(name);
  if (!control) return 1;
  if (command == "text") {
    Print(TextOf(control));
  } else if (command == "items") {
    for (const std::string& item : ItemsOf(control)) Print(item);
  } else if (command == "enabled") {
    Print(IsWindowEnabled(control) ? "1" : "0");
  } else if (command == "bounds") {
    RECT bounds;
    GetWindowRect(control, &bounds);
    const POINT centre{(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
    MapWindowPoints(nullptr, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&bounds), 2);
    Print(std::to_string(bounds.left) + " " + std::to_string(bounds.top) + " " +
          std::to_string(bounds.right - bounds.left) + " " + std::to_string(bounds.bottom - bounds.top));
    Print(std::to_string(centre.x) + " " + std::to_string(centre.y));
  } else {
    return 2;
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  try {
    return Probe(args);
  } catch (const std::exception&) {
    return 2;
  }
}
