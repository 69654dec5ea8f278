#pragma once
// Everything the long procedures (image preparation, identification, programming) may do
// to the operator: the labels, the gauges, the memo, the five operating controls, sounds,
// modal messages and the points where pending window messages are let through.
//
// The window implements it with widgets, the command line with a terminal, and the tests
// with a recorder, so all of them drive the very same procedures.

#include <cstdint>
#include <string>

namespace zorvan {

// The five controls whose enabled state the procedures change.
enum class Control { ButtonWrite, ButtonConect, ButtonOpenHex, cbPort, cbBaudRate };
// All five, in that order: what a window gives back to the operator's hand at once.
inline constexpr Control kOperatingControls[] = {Control::ButtonWrite, Control::ButtonConect, Control::ButtonOpenHex,
                                                 Control::cbPort, Control::cbBaudRate};

// The system sounds, by their MessageBeep types.
enum MessageBeepType : unsigned {
  MB_ICONHAND = 0x10,         // errors about the HEX text, a device not found
  MB_ICONQUESTION = 0x20,     // detection starts
  MB_ICONEXCLAMATION = 0x30,  // after a reset exchange
  MB_ICONASTERISK = 0x40,     // information, success, programming starts
};

class OperatorSurface {
 public:
  virtual ~OperatorSurface() = default;

  // The main gauge. A negative maximum is refused (ERangeError); the position clamps.
  virtual void SetGaugeMax(int64_t max) = 0;
  virtual void SetGaugeProgress(int64_t progress) = 0;
  virtual int64_t GaugeProgress() const = 0;
  void StepGauge(int64_t step) { SetGaugeProgress(GaugeProgress() + step); }

  // The chunk bar of the engineering view.
  virtual void SetChunkBarMax(int max) = 0;
  virtual void SetChunkBarPosition(int position) = 0;
  virtual int ChunkBarPosition() const = 0;

  // The status label and the calibration label.
  virtual void SetStatus(const std::string& text) = 0;
  virtual void SetCalibration(const std::string& text) = 0;

  // The device memo: the description, then one log line per attempt.
  virtual void SetMemoText(const std::string& text) = 0;
  virtual void AddMemoLine(const std::string& line) = 0;
  virtual std::string MemoText() const = 0;

  // Empties the HEX text the image was built from (the image itself stays).
  virtual void ClearFirmwareText() = 0;

  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void Focus(Control control) = 0;

  // The operator's choices: the port name and the rate box's item index.
  virtual std::string PortName() const = 0;
  virtual int BaudRateIndex() const = 0;
  // The name, without its folder, of the HEX file last chosen in the open dialog; empty
  // when none has been chosen in this run.
  virtual std::string LastHexFileName() const = 0;

  // A modal message; returns once the operator has closed it.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void MessageBeep(unsigned type) = 0;
  // A tone of the given pitch; it may be silent but takes its time.
  virtual void Beep(unsigned frequency_hz, unsigned duration_ms) = 0;

  // Lets pending window messages run: the operator's keyboard commands run nested here.
  virtual void ProcessMessages() = 0;
  virtual void BringToFront() = 0;
  // A blocking pause: nothing is processed during it.
  virtual void Sleep(unsigned milliseconds) = 0;
  // The local time of day in the system's long time format.
  virtual std::string TimeOfDay() const = 0;
};

}  // namespace zorvan
