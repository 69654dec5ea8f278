#pragma once
// The production window: several fixtures of a production line in one window. Each ticked
// port has a row, and each row is a view of the production cycle on that port, run on a
// thread of its own; the window's whole line is started and stopped at once or port by
// port, counts passes, failures and refusals, rings a bell per result and may append each
// device's run record to a file. No modal box stops the line: each row shows its own
// result, and the log keeps one line per device.
//
// The form's logic knows no toolkit; its view (app/production_form_view.h) is the Qt
// window or the Win32 window. Everything the ports' threads report reaches the form
// through a queue that the view drains on the GUI thread (Wake, then DeliverEvents), so
// that the GUI thread never waits on a port.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/keyboard_commands.h"
#include "app/production_form_view.h"
#include "firmware/image_builder.h"
#include "protocol/line_port.h"

namespace zorvan::app {

class Desktop;

// The firmware a production window programs: the image the main window holds, copied, so
// that a file opened in the main window meanwhile does not change a line that runs.
struct ProductionFirmware {
  ImageState image;
  std::string name;              // the HEX file's name, or the carried firmware's
  std::string hex_file;          // the HEX file's path; empty: the carried firmware
  std::string sha256;            // of the HEX text the image was made from, in hex digits
  std::string firmware_version;  // what a programmed device reports, as far as known
  int baud_rate_index = 12;      // the line rate the main window has chosen
};

// Starts one port of the line on a thread of its own: StartLinePort, or a test's stand-in.
using LinePortStarter =
    std::function<std::unique_ptr<LinePortControl>(LinePortSettings settings, LinePortObserver& observer)>;

class TProductionForm {
 public:
  // `virtual_ports`: ports no system table lists (pseudo-terminals) that the port list
  // offers all the same, as the main window's port box does.
  TProductionForm(ProductionFormView& view, Desktop& desktop, std::vector<std::string> virtual_ports = {});
  // The same with the ports started by `start_port` (a test's scripted ports).
  TProductionForm(ProductionFormView& view, Desktop& desktop, std::vector<std::string> virtual_ports,
                  LinePortStarter start_port);
  ~TProductionForm();
  TProductionForm(const TProductionForm&) = delete;
  TProductionForm& operator=(const TProductionForm&) = delete;

  // Shows the window with `firmware`, the `ports` ticked (added to the port list when the
  // system does not list them), and starts every ticked port when `start`. A window
  // already shown is brought to the front; its firmware changes only while no port runs.
  void Open(ProductionFirmware firmware, const std::vector<std::string>& ports, bool start);

  // The handlers, called by the view on the GUI thread.
  void PortTicked(int choice, bool ticked);
  void RowButtonClick(int row);  // starts the row's port, or stops it when it runs
  void StartAllClick();
  // Ends each port once its run is over; a second click stops the runs in progress.
  void StopAllClick();
  void RecordFileClick();  // picks the run-record file, or none
  void FormKeyDown(uint16_t& Key, ShiftState Shift);  // Ctrl+Delete stops the runs
  void FormClose();  // ends the line as Stop all does; the window hides once every port ended
  void Tick();       // about once a second: the port list is refreshed
  void DeliverEvents();  // after the view's Wake: what the ports' threads reported

  // Whether any port's cycle runs.
  bool Running() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zorvan::app
