#pragma once
// The main window's view: its controls as the window's description makes them
// (kMainFormControls), named by MainControl.
//
// How a view serves TMainForm:
// - Made before its form, with every control at its described bounds, with its described
//   caption, hint, skin part and cursor, the window hidden and kMainFormWindow's client
//   size. The form tells it everything that changes afterwards, from its constructor on
//   (the rate box's items, the gauge, the firmware memo).
// - Forwards every act of the operator to the form as a plain call, with nothing
//   decided on the way: a click to its handler (ButtonWriteClick, Label1Click, ...), an
//   item picked in a box to cbPortChange(index) or cbBaudRateChange(index), every edit of
//   the skin-name box to sComboBoxSkinNameChange(text), each key press to FormKeyDown
//   before the focused control sees it (the key preview), the window's close box to
//   FormClose, and its resizing and activation to FormResize and FormActivate. A key the
//   form's handler ran for still goes on to the focused control.
// - Changes made through this interface are not acts of the operator: setting a box's
//   items or selection, or a text, must not come back as an event.
//
// All calls come on the GUI thread. Texts are UTF-8; a text's lines may be broken by
// CR LF, LF or CR.

#include <string>
#include <vector>

#include "app/form_description.h"
#include "app/window_view.h"

namespace zorvan::app {

class MainFormView : public WindowView {
 public:
  // The window's title bar.
  virtual void SetCaption(const std::string& caption) = 0;

  // A label's caption (the label sizes itself to it), a memo's whole text, or the text
  // of the editable skin-name box.
  virtual void SetText(MainControl control, const std::string& text) = 0;
  // Adds a line at the end of a memo.
  virtual void AddLine(MainControl memo, const std::string& line) = 0;
  virtual void SetEnabled(MainControl control, bool enabled) = 0;
  // A combo box's list; nothing is selected afterwards.
  virtual void SetItems(MainControl box, const std::vector<std::string>& items) = 0;
  // Selects a combo box's item; -1 selects none and leaves the box empty.
  virtual void SetItemIndex(MainControl box, int index) = 0;
  // Gives a control the keyboard focus, also one outside the visible area.
  virtual void Focus(MainControl control) = 0;

  // The percentage gauge: `filled` ten-thousandths of the bar drawn filled from the left,
  // and `caption` ("37%") drawn across the bar's middle.
  virtual void ShowGauge(MainControl gauge, int filled, const std::string& caption) = 0;
  // A plain progress bar at `position` of 0..`max`.
  virtual void ShowBar(MainControl bar, int max, int position) = 0;

  // Sets the window's outer height, title bar and borders included; the width stays.
  // Where the window system draws a thinner frame than the designed one (39 pixels of
  // title bar and borders), or none, the client area takes the height the designed frame
  // would leave, so that nothing meant to lie below it comes into view.
  virtual void SetOuterHeight(int height) = 0;
  virtual void CentreOnScreen() = 0;
  // Repaints the whole window at once, not at the next turn of the message loop.
  virtual void Repaint() = 0;
  // Raises all of the program's visible windows, this one active when it is visible.
  virtual void BringApplicationToFront() = 0;
  // Lets every pending window message of the program run, and the calls the serial
  // port's event thread has handed to the GUI thread; returns when none is left.
  virtual void ProcessMessages() = 0;
};

}  // namespace zorvan::app
