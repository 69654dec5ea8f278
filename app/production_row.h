#pragma once
// What one port of the production line shows the operator: the production cycle's events
// on that port turned into its state (text and colour), the run's percentage, the last
// device's description and run time, the port's counts, and a line per device for the
// log. The production window's rows and the main window's automatic mode both show a
// port this way, in the same words.

#include <string>

#include "app/production_form_view.h"
#include "protocol/line_port.h"
#include "protocol/production_cycle.h"

namespace zorvan::app {

// "Прошито 3, збоїв 1, відмов 0": the devices counted.
std::string TallyText(const CycleTally& tally);
// The same, with the time per device once one was counted: "..., 0:42/прилад".
std::string TallyWithTimeText(const CycleTally& tally);

// The log's line for a device's run: its time of day, the port (left out when empty),
// the device's description, the message its run ended with and how long it took.
std::string DeviceLogLine(const std::string& time_of_day, const std::string& port, const std::string& description,
                          const std::string& message, double seconds);

// The state text of a phase: "Чекаю прилад", "Йде запис", "Готово, замініть", ...
const char* PhaseText(CyclePhase phase);
RowColour PhaseColour(CyclePhase phase);

class ProductionRow {
 public:
  // The cycle stands at `phase` with `tally` (this cycle's own, which the row adds to the
  // counts of the port's earlier cycles). Returns the log line a new port error deserves,
  // or an empty text.
  std::string Phase(CyclePhase phase, const CycleTally& tally, const std::string& detail,
                    const std::string& time_of_day, const std::string& port);
  void Percent(int percent) { percent_ = percent; }
  // A device's run has ended. Returns its log line, or an empty text for a run that found
  // no device (not counted).
  std::string Device(const LineRun& run, const std::string& time_of_day, const std::string& port);
  // The port's cycle runs again, or has ended; its counts carry over.
  void Started();
  void Ended();
  // The port ended because a device's run could not be recorded; until it starts again
  // its state says so.
  void RecordFailed() { record_failed_ = true; }
  // The port's end was asked for; the run in progress goes on.
  void Ending() { ending_ = true; }

  bool Running() const { return running_; }
  bool IsEnding() const { return ending_; }
  // Whether a device is being programmed on the port now.
  bool Programming() const { return running_ && phase_ == CyclePhase::Programming; }

  std::string StateText() const;
  RowColour Colour() const;
  int ShownPercent() const { return Programming() ? percent_ : -1; }
  const std::string& LastDevice() const { return last_device_; }
  // The port's counts over every cycle it ran.
  CycleTally Counts() const;
  std::string CountsText() const { return TallyText(Counts()); }

 private:
  CyclePhase ShownPhase() const;

  bool running_ = false;
  bool ending_ = false;
  bool record_failed_ = false;
  CyclePhase phase_ = CyclePhase::WaitingForDevice;
  int percent_ = -1;
  CycleTally current_;  // the running cycle's
  CycleTally earlier_;  // the port's earlier cycles'
  std::string description_;  // of the device being programmed
  std::string last_device_;
  std::string port_error_;  // the last port error logged
  // The last run failed as the port went (a device that hung up, an adapter pulled out):
  // the row shows that failure while the port is missing, rather than the missing port
  // alone, or the failure would never be seen there.
  bool failed_with_port_ = false;
};

}  // namespace zorvan::app
