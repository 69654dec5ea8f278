// The Windows views on their forms under a real window system (Wine on Xvfb, run by
// tests/wine_window_test.sh): the controls where the descriptions put them, what the
// forms tell the views shown, every act of the operator reaching its handler, the key
// preview, the Tab order, the open dialog with a Cyrillic folder, and the event thread's
// calls served where the window lets pending messages through.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>

#include "app/win32/forms.h"
#include "app/app_texts.h"
#include "app/links.h"
#include "tests/support/loader_stand_in.h"
#include "tests/support/recording_desktop.h"
#include "app/utf8_path.h"
#include "app/win32/gauge.h"
#include "app/win32/help_window.h"
#include "app/win32/main_window.h"
#include "app/win32/message_loop.h"
#include "app/win32/picture.h"
#include "app/win32/skin_pictures.h"
#include "app/win32/system_desktop.h"
#include "app/win32/win32_gui_thread.h"

namespace zorvan::win32 {
namespace {

using app::HelpControl;
using app::MainControl;
using app::testing::LoaderStandIn;
using app::testing::RecordingDesktop;

// Lets the window's messages run until `done` holds, for up to ten seconds.
bool PumpUntil(const std::function<bool()>& done) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  for (;;) {
    ProcessPendingMessages();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > limit) return false;
    Sleep(10);
  }
}

// Bounds in the parent's client area, in design pixels (the tests run at 96 DPI).
app::Bounds BoundsOf(HWND control) {
  RECT bounds;
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// A dialog of the program on the screen, or nullptr.
HWND DialogOf(DWORD gui_thread) {
  HWND dialog = nullptr;
  EnumThreadWindows(
      gui_thread,
      [](HWND window, LPARAM found) {
        wchar_t kind[16] = {};
        GetClassNameW(window, kind, 16);
        if (std::wstring(kind) != L"#32770" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  return dialog;
}

// A recording desktop whose file dialog, once `typed_path` is set, is the system's: an
// operator's hand types the path into it and presses Open.
class DialogDesktop : public RecordingDesktop {
 public:
  std::wstring typed_path;

  std::string ChooseFileToOpen(app::WindowView& owner, const std::string& filter,
                               const std::string& last_file) override {
    if (typed_path.empty()) return RecordingDesktop::ChooseFileToOpen(owner, filter, last_file);
    dialog_filters.push_back(filter);
    std::atomic<bool> done = false;
    std::thread operator_hand([this, &done, gui = GetCurrentThreadId()] {
      while (!done) {
        if (const HWND dialog = DialogOf(gui)) {
          // The file name box: cmb13 in the system's dialog, edt1 in older ones.
          HWND name = GetDlgItem(dialog, 0x47c);
          if (!name) name = GetDlgItem(dialog, 0x480);
          SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed_path.c_str()));
          PostMessageW(dialog, WM_COMMAND, IDOK, 0);
          return;
        }
        Sleep(100);
      }
    });
    std::string chosen = SystemDesktop().ChooseFileToOpen(owner, filter, last_file);
    done = true;
    operator_hand.join();
    return chosen;
  }
};

template <typename Id, typename Window, size_t N>
void ExpectDescribedBounds(const std::array<app::ControlDescription, N>& rows, const Window& window) {
  for (size_t i = 0; i < N; ++i) {
    const app::ControlDescription& row = rows[i];
    const app::Bounds bounds = BoundsOf(window.At(static_cast<Id>(i)).hwnd());
    EXPECT_EQ(bounds.left, row.bounds.left) << row.name;
    EXPECT_EQ(bounds.top, row.bounds.top) << row.name;
    // Labels size themselves to their captions; a combo box reaches down over its list.
    const bool sized_by_text = row.kind == app::ControlKind::Label;
    const bool drops_down = row.kind == app::ControlKind::ComboBox || row.kind == app::ControlKind::EditableComboBox;
    if (!sized_by_text) {
      EXPECT_EQ(bounds.width, row.bounds.width) << row.name;
    }
    if (!sized_by_text && !drops_down) {
      EXPECT_EQ(bounds.height, row.bounds.height) << row.name;
    }
  }
}

class Views : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
  }

  Views() {
    desktop_.SetApplicationTitle(app::kProvisionalTitle);
    desktop_.system_ports = std::vector<std::string>{"COM3", "COM7"};
    desktop_.really_sleep = false;
    auto port = std::make_unique<LoaderStandIn>();
    port_ = port.get();
    form_ = std::make_unique<app::TMainForm>(main_, desktop_, std::move(port), std::vector<std::string>{"COM150"});
    help_form_ = std::make_unique<app::TFormHelp>(help_, desktop_);
    main_.Connect(form_.get());
    help_.Connect(help_form_.get());
    form_->SetFormHelp(*help_form_);
    app::StartProgram(desktop_, *form_);
    // The stand-in holds a few dozen bytes, far less than the carried firmware, which a
    // real run would refuse before erasing.
    form_->State().WrittenRanges.clear();
    desktop_.Clear();
  }

  ~Views() override {
    main_.Connect(nullptr);
    help_.Connect(nullptr);
  }

  // A key pressed with the modifiers held, as it reaches the control that has the focus.
  void Press(uint16_t key, bool ctrl = false, bool shift = false) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    ProcessPendingMessages();
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  }

  static void Click(HWND control) {
    SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ProcessPendingMessages();
  }

  HWND Main(MainControl control) const { return main_.At(control).hwnd(); }
  std::string Text(MainControl control) const { return main_.At(control).Text(); }
  bool HasFocus(MainControl control) const { return main_.At(control).HasFocus(); }

  PictureLibrary library_;
  SkinPictures pictures_;
  MainWindow main_{pictures_};
  HelpWindow help_{pictures_, main_.hwnd()};
  DialogDesktop desktop_;
  LoaderStandIn* port_ = nullptr;
  std::unique_ptr<app::TMainForm> form_;
  std::unique_ptr<app::TFormHelp> help_form_;
};

TEST_F(Views, EveryControlLiesWhereItsDescriptionPutsIt) {
  ExpectDescribedBounds<MainControl>(app::kMainFormControls, main_);
  ExpectDescribedBounds<HelpControl>(app::kFormHelpControls, help_);
  EXPECT_EQ(main_.ClientSize().cx, app::kMainFormWindow.client_width);
  EXPECT_EQ(main_.ClientSize().cy, app::kMainFormWindow.client_height);
  EXPECT_EQ(help_.ClientSize().cx, app::kFormHelpWindow.client_width);
  EXPECT_EQ(help_.ClientSize().cy, app::kFormHelpWindow.client_height);
}

TEST_F(Views, ShowWhatTheFormsSay) {
  EXPECT_EQ(main_.Caption(), app::kProgramTitle);
  EXPECT_EQ(Text(MainControl::LabelNameOfHex), app::kImageReady);
  EXPECT_EQ(Text(MainControl::cbPort), "COM150");
  EXPECT_EQ(SendMessageW(Main(MainControl::cbPort), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(Text(MainControl::cbBaudRate), "115200");
  EXPECT_EQ(static_cast<Gauge&>(main_.At(MainControl::ProgressbarReadWrite)).Caption(), "0%");
  EXPECT_EQ(help_.Caption(), app::kHelpTitle);

  form_->SetGaugeMax(8);
  form_->SetGaugeProgress(3);
  EXPECT_EQ(static_cast<Gauge&>(main_.At(MainControl::ProgressbarReadWrite)).Caption(), "38%");
  form_->SetChunkBarMax(16);
  form_->SetChunkBarPosition(5);
  EXPECT_EQ(SendMessageW(Main(MainControl::ProgressbarWrite), PBM_GETPOS, 0, 0), 5);
  form_->SetMemoText("250101");
  form_->AddMemoLine("Очистив");
  EXPECT_EQ(Text(MainControl::MemoAbout), "250101\r\nОчистив");
  form_->SetEnabled(zorvan::Control::cbBaudRate, false);
  EXPECT_FALSE(IsWindowEnabled(Main(MainControl::cbBaudRate)));
}

TEST_F(Views, EveryActOfTheOperatorReachesItsHandler) {
  SendMessageW(Main(MainControl::ButtonOpenHex), BM_CLICK, 0, 0);
  SendMessageW(Main(MainControl::sButton2), BM_CLICK, 0, 0);
  Click(Main(MainControl::Label1));
  EXPECT_EQ(desktop_.dialog_filters, std::vector<std::string>{app::kOpenDialogFilter});
  EXPECT_EQ(desktop_.opened_addresses, std::vector<std::string>{app::kMakerSiteAddress});
  EXPECT_EQ(desktop_.device_manager_openings, 1);

  SendMessageW(Main(MainControl::sButton3), BM_CLICK, 0, 0);
  EXPECT_TRUE(help_.IsVisible());
  Click(help_.At(HelpControl::sWebLabel1).hwnd());
  EXPECT_EQ(desktop_.opened_addresses.back(), app::kHelpLinkAddress);
  SendMessageW(help_.At(HelpControl::Button1).hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !help_.IsVisible(); }));

  // An item picked in the port box hands the focus to the detect button.
  SendMessageW(Main(MainControl::cbPort), CB_SETCURSEL, 1, 0);
  SendMessageW(main_.hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Main(MainControl::cbPort)), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Main(MainControl::cbPort)));
  EXPECT_EQ(form_->PortName(), "COM3");
  EXPECT_TRUE(HasFocus(MainControl::ButtonConect));
}

TEST_F(Views, TheWindowSeesEveryKeyFirstAndTheFocusedControlStillGetsIt) {
  main_.At(MainControl::sComboBoxSkinName).Focus();
  Press('Q');
  const std::string typed = Text(MainControl::sComboBoxSkinName);
  EXPECT_NE(typed.find('q'), std::string::npos);
  EXPECT_EQ(form_->SkinManager().SkinName(), typed);
  // What the form itself writes there is not the operator's typing.
  main_.SetText(MainControl::sComboBoxSkinName, "Інший");
  EXPECT_EQ(form_->SkinManager().SkinName(), typed);

  Press(app::kKeyE, true, true);
  const SIZE engineering = main_.ClientSize();
  EXPECT_EQ(engineering.cx, app::kMainFormWindow.client_width);
  // The detect and link panels come into view; the firmware memo below stays out of it.
  EXPECT_GT(engineering.cy, 290);
  EXPECT_LE(engineering.cy, app::kEngineeringOuterHeight - app::kDesignedFrameHeight);
  Press(app::kKeyE, true, true);
  EXPECT_EQ(main_.ClientSize().cy, engineering.cy);

  main_.At(MainControl::cbPort).Focus();
  Press(VK_F1);
  EXPECT_TRUE(help_.IsVisible());
  EXPECT_TRUE(help_.At(HelpControl::Button1).HasFocus());
  Press(VK_F1, true);  // F1 in the help window closes it, whatever the modifiers
  EXPECT_TRUE(PumpUntil([&] { return !help_.IsVisible(); }));
}

TEST_F(Views, TabVisitsTheControlsInTheDescribedOrder) {
  main_.Focus(MainControl::cbPort);
  std::vector<MainControl> visited;
  for (size_t i = 0; i < app::kMainFormTabChain.size(); ++i) {
    Press(VK_TAB);
    for (const MainControl control : app::kMainFormTabChain) {
      if (HasFocus(control)) visited.push_back(control);
    }
  }
  std::vector<MainControl> expected;
  for (size_t i = 0; i < app::kMainFormTabChain.size(); ++i) {
    expected.push_back(app::kMainFormTabChain[(i + 4) % app::kMainFormTabChain.size()]);
  }
  EXPECT_EQ(visited, expected);
  Press(VK_TAB, false, true);
  EXPECT_TRUE(HasFocus(MainControl::sComboBoxSkinName));
}

TEST_F(Views, ARunEndsWithTheWindowAsTheStateTableSays) {
  SendMessageW(Main(MainControl::ButtonWrite), BM_CLICK, 0, 0);
  EXPECT_EQ(Text(MainControl::LabelNameOfHex).rfind("Мікропрограма : успішно завантажена в ", 0), 0u)
      << Text(MainControl::LabelNameOfHex);
  EXPECT_FALSE(IsWindowEnabled(Main(MainControl::ButtonWrite)));
  EXPECT_TRUE(IsWindowEnabled(Main(MainControl::cbPort)));
  EXPECT_TRUE(HasFocus(MainControl::ButtonConect));
  EXPECT_EQ(port_->port_name, "COM150");
}

TEST_F(Views, TheOpenDialogTakesAHexFileInACyrillicFolder) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"Прошивки Зорван";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / L"fw.hex";
  std::ofstream(file) << ":0400000001020304F2\n:00000001FF\n";
  desktop_.typed_path = file.wstring();

  SendMessageW(Main(MainControl::ButtonOpenHex), BM_CLICK, 0, 0);
  EXPECT_EQ(desktop_.dialog_filters, std::vector<std::string>{app::kOpenDialogFilter});
  EXPECT_TRUE(std::filesystem::equivalent(app::PathFromUtf8(form_->OpenDialogFileName()), file))
      << form_->OpenDialogFileName();
  EXPECT_EQ(Text(MainControl::LabelNameOfHex), "Мікропрограма : fw.hex - відкрита. Запишіть в прилад");
  EXPECT_EQ(desktop_.Messages(), std::vector<std::string>{app::kFileOpenedMessage});
  std::filesystem::remove_all(folder);
}

TEST(Win32GuiThread, ServesTheEventThreadWhereTheWindowLetsMessagesThrough) {
  std::vector<std::string> shown;
  Win32GuiThread gui([&shown](const std::exception& error) { shown.push_back(error.what()); });
  std::thread::id ran_on;
  std::atomic<int> calls = 0;
  std::string caught;
  std::thread event_thread([&] {
    gui.Synchronize([&] { ran_on = std::this_thread::get_id(); });
    for (int i = 0; i < 20; ++i) gui.Synchronize([&] { ++calls; });
    try {
      gui.Synchronize([] { throw std::runtime_error("Порт зайнятий"); });
    } catch (const std::exception& error) {
      caught = error.what();
    }
  });
  EXPECT_TRUE(PumpUntil([&] { return !caught.empty(); }));
  event_thread.join();
  EXPECT_EQ(ran_on, std::this_thread::get_id());
  EXPECT_EQ(calls, 20);
  EXPECT_EQ(caught, "Порт зайнятий");
  EXPECT_TRUE(shown.empty());

}

}  // namespace
}  // namespace zorvan::win32
