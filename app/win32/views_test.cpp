// The views under a real window system (Wine on Xvfb, run by tests/wine_window_test.sh):
// where the controls lie, that every event reaches the logic under the control's own
// name, and that keys are seen before the focused control without being taken from it.

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/win32/help_window.h"
#include "app/win32/main_window.h"
#include "app/win32/message_loop.h"
#include "app/win32/picture.h"
#include "app/win32/skin_pictures.h"

namespace zorvan::win32 {
namespace {

class ViewsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
  }

  // The bounds of a control in its parent's client area.
  static RECT BoundsOf(HWND control) {
    RECT bounds;
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
  }

  PictureLibrary library_;
  SkinPictures pictures_;
  MainWindow main_{pictures_};
  HelpWindow help_{pictures_, main_.hwnd()};
};

TEST_F(ViewsTest, MainWindowControlsLieAtTheirDesignedBounds) {
  struct Expected {
    MainControl id;
    RECT bounds;  // left, top, right, bottom in the parent's client area
  };
  const Expected controls[] = {
      {MainControl::sPanel1, {7, 8, 321, 81}},         {MainControl::ButtonWrite, {161, 6, 257, 66}},
      {MainControl::ProgressbarReadWrite, {6, 104, 321, 121}},
      {MainControl::ProgressbarWrite, {8, 167, 273, 176}},
      {MainControl::sPanel3, {248, 200, 289, 353}},    {MainControl::sButton2, {8, 12, 33, 69}},
      {MainControl::sButton3, {8, 84, 33, 141}},       {MainControl::sPanel2, {8, 224, 273, 305}},
      {MainControl::ButtonConect, {31, 16, 112, 73}},  {MainControl::ButtonOpenHex, {152, 16, 233, 73}},
      {MainControl::MemoAbout, {392, 16, 697, 697}},   {MainControl::TextTerminal, {-288, 320, 177, 545}},
  };
  for (const Expected& control : controls) {
    const RECT bounds = BoundsOf(main_.HandleOf(control.id));
    EXPECT_EQ(bounds.left, control.bounds.left) << static_cast<int>(control.id);
    EXPECT_EQ(bounds.top, control.bounds.top) << static_cast<int>(control.id);
    EXPECT_EQ(bounds.right, control.bounds.right) << static_cast<int>(control.id);
    EXPECT_EQ(bounds.bottom, control.bounds.bottom) << static_cast<int>(control.id);
  }
  // Labels size themselves to their captions from their designed top left; combo boxes
  // reach down over their lists.
  const std::pair<MainControl, POINT> corners[] = {
      {MainControl::Label1, {49, 17}}, {MainControl::LabelNameOfHex, {10, 87}}, {MainControl::Label3, {12, 149}},
      {MainControl::cbPort, {30, 37}}, {MainControl::cbBaudRate, {16, 190}},   {MainControl::sComboBoxSkinName, {32, 760}}};
  for (const auto& [id, corner] : corners) {
    const RECT bounds = BoundsOf(main_.HandleOf(id));
    EXPECT_EQ(bounds.left, corner.x) << static_cast<int>(id);
    EXPECT_EQ(bounds.top, corner.y) << static_cast<int>(id);
  }
  EXPECT_EQ(main_.ClientSize().cx, MainWindow::kClientWidth);
  EXPECT_EQ(main_.ClientSize().cy, MainWindow::kNormalClientHeight);
  EXPECT_EQ(help_.ClientSize().cx, HelpWindow::kClientWidth);
  EXPECT_EQ(help_.ClientSize().cy, HelpWindow::kClientHeight);
}

TEST_F(ViewsTest, EngineeringViewIsThreeHundredFortyHighOverAllAndKeepsItsWidth) {
  main_.Show();
  main_.OpenEngineeringView();
  main_.OpenEngineeringView();
  EXPECT_EQ(main_.OuterHeight(), MainWindow::kEngineeringOuterHeight);
  EXPECT_EQ(main_.ClientSize().cx, MainWindow::kClientWidth);
  EXPECT_GT(main_.ClientSize().cy, MainWindow::kNormalClientHeight);
}

TEST_F(ViewsTest, EveryClickReachesTheLogicUnderItsControlsName) {
  std::vector<MainControl> main_clicks;
  main_.onClick = [&](MainControl id) { main_clicks.push_back(id); };
  const MainControl buttons[] = {MainControl::ButtonWrite, MainControl::ButtonConect, MainControl::ButtonOpenHex,
                                 MainControl::sButton2, MainControl::sButton3};
  for (MainControl id : buttons) SendMessageW(main_.HandleOf(id), BM_CLICK, 0, 0);
  // A label reports its click when the mouse button is released over it.
  const HWND label = main_.HandleOf(MainControl::Label1);
  SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ProcessPendingMessages();
  EXPECT_EQ(main_clicks, (std::vector<MainControl>{MainControl::ButtonWrite, MainControl::ButtonConect,
                                                   MainControl::ButtonOpenHex, MainControl::sButton2,
                                                   MainControl::sButton3, MainControl::Label1}));

  std::vector<HelpControl> help_clicks;
  help_.onClick = [&](HelpControl id) { help_clicks.push_back(id); };
  SendMessageW(help_.HandleOf(HelpControl::Button1), BM_CLICK, 0, 0);
  const HWND link = help_.HandleOf(HelpControl::sWebLabel1);
  SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  ProcessPendingMessages();
  EXPECT_EQ(help_clicks, (std::vector<HelpControl>{HelpControl::Button1, HelpControl::sWebLabel1}));
}

TEST_F(ViewsTest, KeysAreSeenBeforeTheFocusedControlWhichStillGetsThem) {
  std::vector<std::pair<uint16_t, int>> seen;  // the key, and how many edits the box had reported then
  int edits = 0;
  main_.onChange = [&](MainControl id) {
    if (id == MainControl::sComboBoxSkinName) ++edits;
  };
  main_.onKeyDown = [&](uint16_t key, KeyModifiers) { seen.emplace_back(key, edits); };
  main_.Show();
  main_.Focus(MainControl::sComboBoxSkinName);
  const HWND edit = GetFocus();
  ASSERT_TRUE(edit && IsChild(main_.HandleOf(MainControl::sComboBoxSkinName), edit));
  PostMessageW(edit, WM_KEYDOWN, 'Q', 1);
  ProcessPendingMessages();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], std::make_pair(uint16_t{'Q'}, 0));
  EXPECT_EQ(edits, 1);
  EXPECT_NE(main_.Text(MainControl::sComboBoxSkinName).find('q'), std::string::npos);
}

TEST_F(ViewsTest, BoxesAndBarsShowWhatTheyAreGiven) {
  main_.SetItems(MainControl::cbPort, {"COM77", "COM3"});
  main_.SetSelection(MainControl::cbPort, 1);
  main_.SetSelection(MainControl::cbBaudRate, 12);
  EXPECT_EQ(main_.Text(MainControl::cbPort), "COM3");
  EXPECT_EQ(main_.Text(MainControl::cbBaudRate), "115200");
  EXPECT_EQ(main_.Items(MainControl::cbBaudRate).size(), 15u);

  main_.SetGaugeMax(8);
  main_.SetGaugeProgress(1);
  EXPECT_EQ(main_.GaugeCaption(), "12%");  // 12.5 rounds to even
  main_.SetGaugeProgress(9);
  EXPECT_EQ(main_.GaugeProgress(), 8);
  EXPECT_EQ(main_.GaugeCaption(), "100%");

  main_.SetChunkBarMax(64);
  main_.SetChunkBarPosition(17);
  EXPECT_EQ(main_.ChunkBarPosition(), 17);

  main_.AppendMemoLine(MainControl::MemoAbout, "Прилад: Zorvan");
  main_.AppendMemoLine(MainControl::MemoAbout, "Спроба 1");
  EXPECT_EQ(main_.Text(MainControl::MemoAbout), "Прилад: Zorvan\r\nСпроба 1");
}

TEST_F(ViewsTest, HelpWindowOpensWithItsButtonFocusedAndHidesAgain) {
  main_.Show();
  help_.Show();
  EXPECT_TRUE(help_.IsVisible());
  EXPECT_TRUE(help_.HasFocus(HelpControl::Button1));
  help_.Hide();
  EXPECT_FALSE(help_.IsVisible());
}

}  // namespace
}  // namespace zorvan::win32
