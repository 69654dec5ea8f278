#pragma once
// The window's automatic mode, for the production line: the production cycle on the
// chosen port, device after device, without a click; the one-port case of the production
// window, shown in the same words (app/production_row.h) on the window's own thread. The status label shows where it
// stands and the devices counted, the memo gets one line per device (its time, its
// description, the message its run ended with and how long the run took), and no
// message box stops it. When it ends the label adds the time per device.
// Ctrl+Shift+A again, the write button or closing the window ends it once the run in
// progress is over, and no run begins after it; the operator's stop (Ctrl+Delete) stops
// that run and ends it too. The mode stays on the window's thread: its looks and waits
// let the window's messages through, so that those keys and clicks are answered at once.

#include <string>

#include "app/production_row.h"
#include "protocol/port_station.h"

namespace zorvan::app {

class Desktop;
class TMainForm;

class AutomaticMode : public PortStation {
 public:
  // `flasher` is the window's: its state and port, on the window's surface, whose
  // messages run while the mode looks and waits.
  AutomaticMode(TMainForm& form, Desktop& desktop, Flasher& flasher)
      : PortStation(flasher), form_(form), desktop_(desktop) {}

  // Runs the cycle until End. Meanwhile the port and rate boxes, the detect and open
  // buttons are disabled, and the write button enabled, to end it; afterwards all five
  // are enabled and the label keeps the tally.
  void Run();
  // Ends the mode; a run in progress is finished first, and the label says so.
  void End();

  bool PortPresent() override;
  DeviceRun Program() override;
  void Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) override;
  bool Wait(unsigned milliseconds) override;
  bool EndRequested() override { return ending_; }

 private:
  TMainForm& form_;
  Desktop& desktop_;
  bool ending_ = false;
  CycleTally tally_;  // as last shown
  // The port as a row of the production window would show it: the label's state and the
  // memo's lines are the same words.
  ProductionRow row_;
};

}  // namespace zorvan::app
