#include "serial/bcport.h"

#include <algorithm>
#include <climits>
#include <thread>

#include "serial/com_thread.h"
#include "serial/transfer_limits.h"

namespace zorvan {

TBComPort::TBComPort() = default;

TBComPort::~TBComPort() {
  try {
    Close();
  } catch (const EComPort&) {
    // The line controls failed on a device that is still there: release it regardless,
    // as nothing will be left to try again.
    StopEventMonitoring();
    ClosePortHandle();
    connected_ = false;
  }
}

bool TBComPort::Open() {
  if (connected_) return true;
  CreatePortHandle();
  // The Apply operations act only while connected, so this comes first.
  connected_ = true;
  try {
    ApplyAllSettings();
    StartEventMonitoring();
  } catch (...) {
    StopEventMonitoring();
    ClosePortHandle();
    connected_ = false;
    throw;
  }
  return connected_;
}

bool TBComPort::Close() {
  if (stopping_events_) return false;
  if (connected_) {
    // The event thread's last act discards the transmit queue, and dropping DTR can
    // upset the device: the final frame (a reset) must have left by then.
    LetOutputLeave();
    try {
      SetDTRLine(false);
      SetRTSLine(false);
      AbortPending();
    } catch (const EComPort&) {
      // A device that has gone answers no call ever again; holding on to it would keep
      // every later procedure from opening the adapter that is plugged back in.
      if (!DeviceGone()) throw;
    }
    StopEventMonitoring();
    ClosePortHandle();
    connected_ = false;
  }
  return !connected_;
}

int TBComPort::WriteStr(const std::string& text) {
  if (text.empty()) return 0;
  const int count = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
  const auto started = std::chrono::steady_clock::now();
  const int sent = WriteBytes(text.data(), count);
  // Whatever the driver took goes out one character after another from now on, behind
  // what was still leaving.
  if (IsValid(CurrentLineSettings())) {
    output_leaves_by_ = std::max(started, output_leaves_by_) + sent * CharacterTime(CurrentLineSettings());
  }
  return sent;
}

void TBComPort::LetOutputLeave() {
  using Clock = std::chrono::steady_clock;
  // The bound is reckoned from the line rate, so that a wedged adapter cannot hold Close
  // for ever; a USB adapter takes a moment more to hand the characters to its UART.
  constexpr auto kTripToTheUart = std::chrono::milliseconds(20);
  // The UART's own FIFO (16 characters on the common chips) is no longer counted by the
  // driver, and a pseudo-terminal counts nothing at all.
  constexpr int kUartFifo = 16;
  const auto bound = output_leaves_by_ + kTripToTheUart;
  const auto character = IsValid(CurrentLineSettings()) ? CharacterTime(CurrentLineSettings())
                                                        : std::chrono::nanoseconds(0);
  for (;;) {
    const auto now = Clock::now();
    if (now >= bound) return;
    const int queued = QueuedOutput();
    if (queued < 0) {
      std::this_thread::sleep_until(bound);
      return;
    }
    if (queued == 0) {
      std::this_thread::sleep_until(std::min<Clock::time_point>(bound, now + kUartFifo * character));
      return;
    }
    const Clock::duration wire_time = queued * character;
    std::this_thread::sleep_until(
        std::min<Clock::time_point>(bound, now + std::max<Clock::duration>(wire_time, std::chrono::microseconds(200))));
  }
}

int TBComPort::ReadStr(std::string& text, int count) {
  if (count <= 0) {
    text.clear();
    return 0;
  }
  text.resize(static_cast<size_t>(count));
  const int n = ReadBytes(text.data(), count);
  text.resize(static_cast<size_t>(n));
  // The device answers a frame only once it has taken it whole: what was written before
  // has left the line, however much faster than its nominal rate the line really is.
  if (n > 0) output_leaves_by_ = std::min(output_leaves_by_, std::chrono::steady_clock::now());
  return n;
}

int TBComPort::ReadArrived(std::string& text, int count, std::chrono::steady_clock::time_point deadline) {
  text.assign(static_cast<size_t>(std::max(count, 0)), '\0');
  if (count > 0) text.resize(static_cast<size_t>(ReadBytesArrived(text.data(), count, deadline)));
  return static_cast<int>(text.size());
}

template <typename T>
void TBComPort::SetLineValue(T& field, T value) {
  if (field == value) return;
  field = value;
  ApplyLineSettings();
}

void TBComPort::SetBaudRate(TBaudRate value) { SetLineValue(baud_rate_, value); }
void TBComPort::SetByteSize(TByteSize value) { SetLineValue(byte_size_, value); }
void TBComPort::SetParity(TParity value) { SetLineValue(parity_, value); }
void TBComPort::SetStopBits(TStopBits value) { SetLineValue(stop_bits_, value); }

void TBComPort::SetQueueSize(int32_t& field, int32_t value) {
  if (field == value) return;
  // Drivers take even queue sizes; the remainder keeps the value's sign, so -3 stays -3.
  field = value % 2 == 1 ? value - 1 : value;
  ApplyQueueSizes();
}

void TBComPort::SetInBufSize(int32_t value) { SetQueueSize(in_buf_size_, value); }
void TBComPort::SetOutBufSize(int32_t value) { SetQueueSize(out_buf_size_, value); }

void TBComPort::SetPort(const std::string& value) {
  if (connected_) throw EComPort(com_text::kChangeWhileOpen);
  port_ = value;
}

void TBComPort::SetSyncMethod(TSyncMethod value) {
  if (value == sync_method_) return;
  if (connected_) throw EComPort(com_text::kChangeWhileOpen);
  sync_method_ = value;
}

void TBComPort::SetTimeouts(const TComTimeouts& value) {
  value.AssignTo(timeouts_);
  ApplyTimeoutSettings();
}

LineSettings TBComPort::CurrentLineSettings() const {
  return {baud_rate_, byte_size_, parity_, stop_bits_};
}

void TBComPort::ApplyAllSettings() {
  ApplyQueueSizes();
  ApplyLineSettings();
  ApplyTimeoutSettings();
}

void TBComPort::ApplyQueueSizes() {
  if (connected_) ApplyQueueSizesToDevice();
}

void TBComPort::ApplyLineSettings() {
  if (!connected_) return;
  const LineSettings settings = CurrentLineSettings();
  // A rate index with no entry in the table cannot be given to any driver.
  if (!IsValid(settings)) throw EComPort(com_text::kSetCommStateFailed);
  ApplyLineSettingsToDevice(settings);
}

void TBComPort::ApplyTimeoutSettings() {
  if (connected_) ApplyTimeoutsToDevice();
}

std::string PortAccessHint(const std::string& port) {
  const PortDiagnosis d = DiagnosePort(port);
  switch (d.kind) {
    case PortDiagnosis::Folder: return d.path + " is a folder, not a serial port.";
    case PortDiagnosis::File: return d.path + " is a file, not a serial port.";
    case PortDiagnosis::NotADevice: return d.path + " is not a serial port.";
    case PortDiagnosis::NoPermission:
      if (d.group.empty()) return "No permission to open " + d.path + ": ask the administrator for access to it.";
      return "No permission to open " + d.path + ": add your user to the group '" + d.group + "' (sudo usermod -aG " +
             d.group + " $USER), then log in again.";
    case PortDiagnosis::Device:
    case PortDiagnosis::Missing: break;
  }
  return {};
}

}  // namespace zorvan
