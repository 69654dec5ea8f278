#pragma once
// The production window's view: the firmware it programs, the ports to tick, one row per
// ticked port, the whole line's buttons and tally, the record file and the log.
//
// How a view serves TProductionForm, as the main window's views serve theirs: it shows
// what the form tells it and forwards every act of the operator as a plain call, deciding
// nothing itself (a click on a row's button to RowButtonClick(row), a tick to
// PortTicked(choice, ticked), a key press to FormKeyDown before the focused control sees
// it, the close box to FormClose). Changes made through this interface are not acts of the
// operator and must not come back as events.
//
// All calls come on the GUI thread except Wake. Texts are UTF-8.

#include <string>
#include <vector>

#include "app/window_view.h"

namespace zorvan::app {

// A row's state field, coloured by what its port is doing.
enum class RowColour {
  Grey,   // waiting for a device, or the port not started
  Blue,   // programming
  Green,  // passed
  Red,    // failed
  Amber,  // refused, or already programmed
  Dark,   // no such port, or the port cannot be used
};

// A port the operator may tick: the system's, or one named on the command line.
struct PortChoice {
  std::string name;         // what the port is opened by: /dev/ttyUSB0, COM7
  std::string description;  // the adapter behind it where the system tells; may be empty
  bool ticked = false;
};

// What one row shows.
struct RowLook {
  std::string port;         // the port's name, with its adapter's description
  std::string state;        // the large state field: "Прошивка 37%", "Прошито", ...
  RowColour colour = RowColour::Grey;
  int percent = -1;         // the run's percentage while programming; -1 when none
  std::string last_device;  // the last device's description and run time
  std::string counts;       // the port's own counts
  std::string button;       // the row's button caption: start or stop this port
  bool button_enabled = true;
};

class ProductionFormView : public WindowView {
 public:
  // The title bar, and the header line naming the firmware (its name and a short SHA-256).
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetHeader(const std::string& header) = 0;

  // The list of ports to tick, replacing the one shown.
  virtual void SetPortChoices(const std::vector<PortChoice>& choices) = 0;

  // Makes `count` rows, each empty until ShowRow; rows are numbered from 0 in the order
  // the form gives them.
  virtual void SetRowCount(int count) = 0;
  virtual void ShowRow(int row, const RowLook& look) = 0;

  // The whole line: the start and stop buttons' enabled states, the total tally, and the
  // record file's path ("" for none).
  virtual void SetLineButtons(bool start_enabled, bool stop_enabled) = 0;
  virtual void SetTotals(const std::string& totals) = 0;
  virtual void SetRecordFile(const std::string& text) = 0;
  // Adds a line at the end of the log below the rows, keeping it in view.
  virtual void AddLogLine(const std::string& line) = 0;

  // Rings the system bell `times` times, about 0.3 s apart, without holding the GUI
  // thread meanwhile.
  virtual void Ring(int times) = 0;

  // Called from any thread: asks the view to call its form's DeliverEvents on the GUI
  // thread soon (a queued call, a posted message). Several wakes may give one delivery.
  virtual void Wake() = 0;
};

}  // namespace zorvan::app
