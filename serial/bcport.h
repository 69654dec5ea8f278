#pragma once
// TBComPort, the serial port component: it keeps the line settings, opens and closes the
// device, re-applies a changed setting at once while open, and moves bytes under the
// port's time-outs (the rules are in serial/transfer_limits.h). Every failure is an
// EComPort carrying one of the fixed texts of serial/ecomport.h.
//
// While open, an event thread (TComThread) watches the line and delivers its events to the
// port's handlers; the port's side of that is in bcport_events.cpp.
//
// The portable logic is in bcport.cpp; the device calls are in one backend file per
// platform. On Linux, Port is a device path (/dev/ttyUSB0, /dev/pts/3); a bare name such
// as ttyUSB0 means /dev/ttyUSB0. The device is taken exclusively, as an unshared Win32
// open takes it.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "serial/com_events.h"
#include "serial/com_records.h"
#include "serial/com_timeouts.h"
#include "serial/com_types.h"
#include "serial/ecomport.h"
#include "serial/line_event_device.h"
#include "serial/port_operations.h"
#include "serial/queued_gui_thread.h"
#include "serial/transfer_tally.h"

namespace zorvan {

class TBComPort;
class TComThread;

// The port's event handlers; each counts as assigned when set.
using TNotifyEvent = std::function<void(TBComPort& sender)>;
using TComSignalEvent = std::function<void(TBComPort& sender, bool state)>;
using TComErrorEvent = std::function<void(TBComPort& sender, TComErrors errors)>;
using TRxCharEvent = std::function<void(TBComPort& sender, int32_t count)>;

class TBComPort : public PortOperations {
 public:
  TBComPort();
  // Closes the port first. A device that can no longer be closed in order is released
  // all the same.
  ~TBComPort() override;
  TBComPort(const TBComPort&) = delete;
  TBComPort& operator=(const TBComPort&) = delete;

  // Opens the port unless it is open and returns Connected. A failure leaves the port
  // closed with the device released, and raises the text of the step that failed.
  bool Open() override;
  // Lets the characters still leaving go out (waiting until the driver has sent them,
  // at most the time they need at the line rate), drops DTR and RTS, stops the event thread (discarding both queues) and
  // releases the device; true whenever it returns normally. A device that has gone (an
  // adapter unplugged, a line hung up) fails the line controls for good: it is released
  // all the same, so that the next Open finds the adapter plugged back in. Any other
  // failure on the way leaves the port open, and a later Close tries again. While an
  // earlier Close up the stack is still stopping the event thread, it returns false and
  // leaves the closing to that one.
  bool Close() override;
  bool Connected() const { return connected_; }

  // Blocks until the bytes are handed to the line or the write time-outs pass; returns
  // the count sent. An empty text sends nothing and returns 0.
  int WriteStr(const std::string& text) override;
  // Reads at most `count` bytes under the read time-outs; `text` then holds exactly the
  // bytes read. A count of zero or less empties `text` and reads nothing. Bytes that
  // arrive after the read has ended stay queued for the next one.
  int ReadStr(std::string& text, int count) override;
  // Not bound by the port's time-outs: the deadline alone limits the wait for the first
  // byte. A count of zero or less empties `text` and reads nothing.
  int ReadArrived(std::string& text, int count, std::chrono::steady_clock::time_point deadline) override;

  // The setters of the rate, the framing and the queue sizes store a value that differs
  // from the current one and apply it at once while open. InBufSize and OutBufSize store
  // a positive odd value as one less. Port is refused while open, even when unchanged;
  // SyncMethod is refused while open unless unchanged.
  TBaudRate BaudRate() const { return baud_rate_; }
  void SetBaudRate(TBaudRate value) override;
  TByteSize ByteSize() const { return byte_size_; }
  void SetByteSize(TByteSize value);
  int32_t InBufSize() const { return in_buf_size_; }
  void SetInBufSize(int32_t value);
  int32_t OutBufSize() const { return out_buf_size_; }
  void SetOutBufSize(int32_t value);
  TParity Parity() const { return parity_; }
  void SetParity(TParity value);
  const std::string& Port() const { return port_; }
  void SetPort(const std::string& value) override;
  TSyncMethod SyncMethod() const { return sync_method_; }
  void SetSyncMethod(TSyncMethod value);
  TStopBits StopBits() const { return stop_bits_; }
  void SetStopBits(TStopBits value);
  // Changing one value through Timeouts() applies it at once while open, as does
  // assigning all five with SetTimeouts.
  TComTimeouts& Timeouts() { return timeouts_; }
  const TComTimeouts& Timeouts() const { return timeouts_; }
  void SetTimeouts(const TComTimeouts& value);

  // Line events. While open, the event thread watches MonitoredEvents and delivers what
  // fires as SyncMethod chooses: smThreadSync runs the handlers on the GUI thread while
  // the event thread waits; smWindowSync sends notices to NotifyWindow, whose handler runs
  // them on the GUI thread while the event thread goes on; smNone runs them on the event
  // thread itself (assign handlers only while closed then). No handler runs once Close
  // has begun. A handler may close the port.
  TComEventKinds MonitoredEvents() const { return kAllEventKinds; }
  // Present only while open with smWindowSync.
  NoticeWindow* NotifyWindow() const { return notify_window_.get(); }
  // The GUI thread the events are delivered to; DefaultGuiThread() unless set. Refused
  // while open, as is the device's event services' factory that tests replace.
  void SetGuiThread(GuiThread& gui);
  void SetLineEventDeviceFactory(LineEventDeviceFactory factory);

  const TComSignalEvent& OnCTSChange() const { return on_cts_change_; }
  void SetOnCTSChange(TComSignalEvent handler) { on_cts_change_ = std::move(handler); }
  const TComSignalEvent& OnDSRChange() const { return on_dsr_change_; }
  void SetOnDSRChange(TComSignalEvent handler) { on_dsr_change_ = std::move(handler); }
  const TComErrorEvent& OnError() const { return on_error_; }
  void SetOnError(TComErrorEvent handler) { on_error_ = std::move(handler); }
  const TNotifyEvent& OnRing() const { return on_ring_; }
  void SetOnRing(TNotifyEvent handler) { on_ring_ = std::move(handler); }
  const TComSignalEvent& OnRLSDChange() const { return on_rlsd_change_; }
  void SetOnRLSDChange(TComSignalEvent handler) { on_rlsd_change_ = std::move(handler); }
  const TNotifyEvent& OnRx80Full() const { return on_rx80_full_; }
  void SetOnRx80Full(TNotifyEvent handler) { on_rx80_full_ = std::move(handler); }
  const TRxCharEvent& OnRxChar() const { return on_rx_char_; }
  void SetOnRxChar(TRxCharEvent handler) { on_rx_char_ = std::move(handler); }
  const TNotifyEvent& OnTxEmpty() const { return on_tx_empty_; }
  void SetOnTxEmpty(TNotifyEvent handler) { on_tx_empty_ = std::move(handler); }

  // The bytes waiting in the receive queue; clears the line's error flags on the way.
  int32_t RxQueueCount();
  // The modem input signals now.
  TComLineSignals LineSignals();

 private:
  friend class TComTimeouts;
  friend class TComThread;

  // Open's and Close's steps that start and stop the event monitoring.
  void StartEventMonitoring();
  void StopEventMonitoring();
  // The notice window's handler, on the GUI thread.
  void WindowHandler(uint32_t code, const std::function<void()>& release_sender);
  // Runs the notification of `kind`, unless the port has closed or is closing.
  void Notify(TComEventKind kind);
  void NotifyRxChar();
  void NotifyTxEmpty();
  void NotifyRing();
  void NotifyCTSChange();
  void NotifyDSRChange();
  void NotifyRLSDChange();
  void NotifyError();
  void NotifyRx80Full();
  CommStatus ClearCommError();

  template <typename T>
  void SetLineValue(T& field, T value);
  void SetQueueSize(int32_t& field, int32_t value);
  LineSettings CurrentLineSettings() const;
  // Waits until the driver reports every written character gone and the UART's FIFO has
  // had its time, never longer than the characters written since the device last
  // answered take at the line rate, plus a margin.
  void LetOutputLeave();

  // Each acts only while Connected.
  void ApplyAllSettings();
  void ApplyQueueSizes();
  void ApplyLineSettings();
  void ApplyTimeoutSettings();

  // The device calls, one backend file per platform. CreatePortHandle raises only for a
  // missing device or one in use; any other failure leaves the handle invalid for the
  // first settings step to report.
  void CreatePortHandle();
  void ClosePortHandle();
  void ApplyQueueSizesToDevice();
  void ApplyLineSettingsToDevice(const LineSettings& settings);
  void ApplyTimeoutsToDevice();
  void SetDTRLine(bool state);
  void SetRTSLine(bool state);
  void AbortPending();
  // True when the device no longer answers at all: it was removed, or its line hung up.
  bool DeviceGone();
  // The characters the driver still holds for the line; -1 when it keeps no count. A
  // device that fails the request has nothing more to send: 0.
  int QueuedOutput();
  int ReadBytes(char* buffer, int count);
  int ReadBytesArrived(char* buffer, int count, std::chrono::steady_clock::time_point deadline);
  int WriteBytes(const char* data, int count);

  TBaudRate baud_rate_ = br9600;
  TByteSize byte_size_ = bs8;
  // Read by the event thread's deliveries as well.
  std::atomic<bool> connected_ = false;
  // A file descriptor on Linux, a HANDLE on Win32; -1 is invalid on both.
  intptr_t handle_ = -1;
  int32_t in_buf_size_ = 2048;
  int32_t out_buf_size_ = 2048;
  TParity parity_ = paNone;
  std::string port_ = "COM2";
  TStopBits stop_bits_ = sb1;
  TSyncMethod sync_method_ = smThreadSync;
  TComTimeouts timeouts_{this};
  // Win32: the device holds ReadArrived's read time-outs instead of the component's own,
  // which the next ordinary read puts back.
  bool device_reads_arrivals_ = false;

  GuiThread* gui_thread_ = &DefaultGuiThread();
  LineEventDeviceFactory line_event_factory_ = MakeLineEventDevice;
  // Kept by the transfers, for the Linux event watch (see serial/transfer_tally.h).
  TransferTally tally_;
  std::unique_ptr<LineEventDevice> line_events_;
  std::unique_ptr<NoticeWindow> notify_window_;
  std::unique_ptr<TComThread> event_thread_;
  std::atomic<bool> stopping_events_ = false;
  // When the last character written will have left at the line rate, counted from the
  // device's last answer.
  std::chrono::steady_clock::time_point output_leaves_by_{};

  TComSignalEvent on_cts_change_;
  TComSignalEvent on_dsr_change_;
  TComErrorEvent on_error_;
  TNotifyEvent on_ring_;
  TComSignalEvent on_rlsd_change_;
  TNotifyEvent on_rx80_full_;
  TRxCharEvent on_rx_char_;
  TNotifyEvent on_tx_empty_;
};

// What stands where a port's name leads, for telling the operator why it could not be
// opened, or why what opened is no port.
struct PortDiagnosis {
  enum Kind {
    Device,        // a device, or nothing more can be told (Windows' COM names)
    Missing,       // nothing there
    Folder,
    File,
    NotADevice,    // something else that is no character device
    NoPermission,  // a device this user may not open
  };
  Kind kind = Device;
  // The path the name leads to: what was tried (on Windows the name as given).
  std::string path;
  // NoPermission: the group that grants access to the device; empty when only the
  // administrator can (the device belongs to root's group).
  std::string group;
  // Missing: a bare name, looked up among the devices, that names something in the
  // current folder, which only a path (./name) reaches.
  bool in_current_folder = false;
};
PortDiagnosis DiagnosePort(const std::string& port);

// A line that tells the operator more about why `port` could not be opened than the
// port's own text does (a file or a folder named in its place; no permission on the
// device, and the group that grants it); empty when there is nothing to add.
std::string PortAccessHint(const std::string& port);

// One text for every name of the device `port` stands for, so that two names of one
// device compare equal: on Linux its path with every symbolic link resolved (a
// /dev/serial/by-id name gives its /dev/ttyUSBn), on Windows its COM name in capitals.
std::string PortIdentity(const std::string& port);

// Whether the system has the device `port` names now, without opening it: an adapter
// unplugged takes its port away, and plugged back in brings it back under the same name
// (on Linux its /dev/serial/by-id name, on Windows its COM name).
bool PortPresent(const std::string& port);

}  // namespace zorvan
