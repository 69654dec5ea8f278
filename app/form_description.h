#pragma once
// The two windows as their descriptions lay them out: each window's size, place and font,
// and every control's kind, parent, bounds, texts and skin part. A view makes its controls
// from these tables, so every view shows the same windows.

#include <array>
#include <cstddef>
#include <string_view>

#include "app/app_texts.h"
#include "app/links.h"

namespace zorvan::app {

// The main window's controls, by the names its description gives them; each names its
// row of kMainFormControls.
enum class MainControl {
  sPanel1, Label1, cbPort, ButtonWrite, LabelNameOfHex, ProgressbarReadWrite, Label3, ProgressbarWrite,
  cbBaudRate, sPanel3, sButton2, sButton3, sPanel2, ButtonConect, ButtonOpenHex, MemoAbout, TextTerminal,
  sComboBoxSkinName
};
inline constexpr size_t kMainControlCount = 18;

// The help window's controls; each names its row of kFormHelpControls.
enum class HelpControl { Image_Emblem, sWebLabel1, Button1, LabelKeys };
inline constexpr size_t kHelpControlCount = 4;

enum class ControlKind {
  Panel,             // holds other controls; a white rounded panel in the skin
  Label,             // a caption that sizes itself to its text from its top-left corner
  LinkLabel,         // a label that opens an address: hand cursor, window-text colour on hover
  ComboBox,          // a drop-down list
  EditableComboBox,  // a combo box whose text can be typed
  Button,            // a push button
  BitButton,         // a push button with a picture above its caption
  Gauge,             // the percentage gauge: a bar with its text across it
  ProgressBar,       // a smooth progress bar without text
  Memo,              // a multi-line text with both scroll bars and word wrap
  Picture,           // a still picture
};

// In pixels, relative to the parent's client area.
struct Bounds {
  int left;
  int top;
  int width;
  int height;
};

struct ControlDescription {
  std::string_view name;
  ControlKind kind;
  std::string_view parent;  // the name of the panel it lies on; empty: the window
  Bounds bounds;
  std::string_view caption;  // a label's, a button's or an editable box's text at creation
  std::string_view hint;     // kept with the control; a tool tip only where hint_shown
  bool hint_shown;
  std::string_view skin_section;  // the part of the skin it is drawn with, or empty
  bool hand_cursor;
  int font_height;  // in pixels; 0: the window's font
};

struct WindowDescription {
  std::string_view name;
  std::string_view caption;  // empty: set by the window's creation handler
  int client_width;
  int client_height;
  bool dialog_border;  // fixed size without minimise box; otherwise fixed size with one
  bool designed_position;  // at left, top on the screen; otherwise its form centres it
  int left;
  int top;
  int font_height;  // "MS Sans Serif" at this pixel height (8 point at 96 dots per inch)
};

inline constexpr int kDesignFontHeight = 11;

inline constexpr WindowDescription kMainFormWindow{"MainForm", "", 329, 127, false, false, 0, 0, kDesignFontHeight};
// Taller by the lines under "ОК" that name the keys of the automatic mode and the
// production window.
inline constexpr WindowDescription kFormHelpWindow{"FormHelp", kHelpTitle, 154, 220, true, true, 616, 197,
                                                   kDesignFontHeight};

// The main window's outer height, title bar and borders included, in the engineering view.
inline constexpr int kEngineeringOuterHeight = 340;
// The title bar and borders of the main window as designed, together. Where the window
// system draws a thinner frame, or none (a bare X server, the offscreen platform), the
// engineering view's client area keeps the height this frame would leave, so that the
// memo below it stays out of sight.
inline constexpr int kDesignedFrameHeight = 39;

// The controls whose top lies below the normal client area come into view in the
// engineering view; the memos and the skin-name box lie outside the window in both.
//  name, kind, parent, bounds, caption, hint, hint shown, skin part, hand cursor, font height
inline constexpr std::array<ControlDescription, kMainControlCount> kMainFormControls = {{
    {"sPanel1", ControlKind::Panel, "", {7, 8, 314, 73}, "", kPanel1Hint, false, "", false, 0},
    {"Label1", ControlKind::Label, "sPanel1", {49, 17, 28, 13}, kPortCaption, kLabel1Hint, true, "", false, 0},
    {"cbPort", ControlKind::ComboBox, "sPanel1", {30, 37, 73, 21}, "", kPortBoxHint, true, "COMBOBOX", true, 0},
    {"ButtonWrite", ControlKind::BitButton, "sPanel1", {161, 6, 96, 60}, kWriteCaption, "", false, "", false, 0},
    {"LabelNameOfHex", ControlKind::Label, "", {10, 87, 86, 13}, kStatusAtCreation, "", false, "", false, 0},
    {"ProgressbarReadWrite", ControlKind::Gauge, "", {6, 104, 315, 17}, "", "", false, "BAR", false, 0},
    {"Label3", ControlKind::Label, "", {12, 149, 110, 13}, kCalibrationAtCreation, "", false, "", false, 0},
    {"ProgressbarWrite", ControlKind::ProgressBar, "", {8, 167, 265, 9}, "", "", false, "BAR", false, 0},
    {"cbBaudRate", ControlKind::ComboBox, "", {16, 190, 81, 21}, "", kBaudRateHint, true, "COMBOBOX", true, 0},
    {"sPanel3", ControlKind::Panel, "", {248, 200, 41, 153}, "", "", false, "", false, 0},
    {"sButton2", ControlKind::Button, "sPanel3", {8, 12, 25, 57}, "", kMakerSiteHint, true, "DIALOG", false, 0},
    {"sButton3", ControlKind::Button, "sPanel3", {8, 84, 25, 57}, "", kAboutHint, true, "DIALOG", false, 0},
    {"sPanel2", ControlKind::Panel, "", {8, 224, 265, 81}, "", "", false, "", false, 0},
    {"ButtonConect", ControlKind::Button, "sPanel2", {31, 16, 81, 57}, kDetectCaption, "", false, "BUTTON_HUGE",
     true, 0},
    {"ButtonOpenHex", ControlKind::Button, "sPanel2", {152, 16, 81, 57}, kOpenCaption, kOpenHint, true,
     "BUTTON_HUGE", true, 0},
    {"MemoAbout", ControlKind::Memo, "", {392, 16, 305, 681}, "", kMemoAboutHint, true, "", false, 15},
    {"TextTerminal", ControlKind::Memo, "", {-288, 320, 465, 225}, "", "", false, "", false, 16},
    {"sComboBoxSkinName", ControlKind::EditableComboBox, "", {32, 760, 145, 21}, "sComboBoxSkinName", "", false, "",
     false, 0},
}};

inline constexpr std::array<ControlDescription, kHelpControlCount> kFormHelpControls = {{
    {"Image_Emblem", ControlKind::Picture, "", {16, 16, 121, 89}, "", "", false, "", false, 0},
    {"sWebLabel1", ControlKind::LinkLabel, "", {29, 119, 91, 13}, kHelpLinkCaption, "", false, "", true, 0},
    {"Button1", ControlKind::Button, "", {35, 145, 81, 33}, kHelpOkCaption, "", false, "", false, 0},
    {"LabelKeys", ControlKind::Label, "", {8, 186, 138, 26}, kHelpKeysCaption, "", false, "", false, 0},
}};

inline constexpr const ControlDescription& DescriptionOf(MainControl control) {
  return kMainFormControls[static_cast<size_t>(control)];
}
inline constexpr const ControlDescription& DescriptionOf(HelpControl control) {
  return kFormHelpControls[static_cast<size_t>(control)];
}

// The main window's controls that take the keyboard focus, in the order the Tab key
// visits them: the description's tab order among siblings, with a panel's controls where
// the panel stands (the window: the two memos, the skin-name box, the chunk bar, which
// takes no focus, the port panel, the detect panel, the link panel, the rate box). The
// help window's one such control is its "ОК" button.
inline constexpr std::array<MainControl, 10> kMainFormTabChain = {
    MainControl::MemoAbout,    MainControl::TextTerminal,  MainControl::sComboBoxSkinName,
    MainControl::cbPort,       MainControl::ButtonWrite,   MainControl::ButtonConect,
    MainControl::ButtonOpenHex, MainControl::sButton2,     MainControl::sButton3,
    MainControl::cbBaudRate};

}  // namespace zorvan::app
