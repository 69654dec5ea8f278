// The Win32 line-event services: SetCommMask and an overlapped WaitCommEvent waited for
// beside the stop event, PurgeComm, ClearCommError and GetCommModemStatus.

#include <windows.h>

#include <algorithm>
#include <system_error>

#include "serial/line_event_device.h"

namespace zorvan {

namespace {

// A driver that cannot wait for events (Wine's port on a pseudo-terminal fails every
// WaitCommEvent at once, for want of modem lines) would have the thread wait again at
// once, for ever. After a failed wait the thread pauses instead, longer after each
// failure in a row, up to a second; the stop ends a pause at once.
constexpr DWORD kFirstPauseMs = 10;
constexpr DWORD kLongestPauseMs = 1000;

HANDLE NewEvent(BOOL initially_signalled) {
  const HANDLE event = CreateEventA(nullptr, TRUE, initially_signalled, nullptr);
  if (event == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateEventA");
  }
  return event;
}

class Win32LineEventDevice final : public LineEventDevice {
 public:
  explicit Win32LineEventDevice(HANDLE handle) : handle_(handle), stop_(NewEvent(FALSE)) {
    try {
      wait_.hEvent = NewEvent(TRUE);
    } catch (...) {
      CloseHandle(stop_);
      throw;
    }
  }
  ~Win32LineEventDevice() override {
    // The driver writes into the OVERLAPPED record and the mask until the wait ends;
    // clearing the mask ends it, and cancelling makes sure before both go away.
    if (pending_) {
      CancelIoEx(handle_, &wait_);
      DWORD ignored = 0;
      GetOverlappedResult(handle_, &wait_, &ignored, TRUE);
    }
    CloseHandle(wait_.hEvent);
    CloseHandle(stop_);
  }
  Win32LineEventDevice(const Win32LineEventDevice&) = delete;
  Win32LineEventDevice& operator=(const Win32LineEventDevice&) = delete;

  void SetEventMask(uint32_t mask) override { SetCommMask(handle_, mask); }
  std::optional<uint32_t> WaitForEvents() override;
  void RequestStop() override { SetEvent(stop_); }
  void DiscardQueues() override { PurgeComm(handle_, PURGE_TXCLEAR | PURGE_RXCLEAR); }
  std::optional<CommStatus> ClearCommError() override;
  std::optional<uint32_t> ModemStatus() override;

 private:
  // After a failed wait: the pause, or no value when the stop came during it.
  std::optional<uint32_t> PauseAfterFailure();

  const HANDLE handle_;
  const HANDLE stop_;  // manual reset; stays set once the stop is requested
  OVERLAPPED wait_{};  // its event: manual reset, starting signalled
  DWORD fired_ = 0;
  bool pending_ = false;
  int failures_in_a_row_ = 0;
};

std::optional<uint32_t> Win32LineEventDevice::WaitForEvents() {
  if (!pending_) {
    fired_ = 0;
    if (!WaitCommEvent(handle_, &fired_, &wait_) && GetLastError() != ERROR_IO_PENDING) {
      // Not started: the wait's event tells nothing, so it is not waited for.
      if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return std::nullopt;
      return PauseAfterFailure();
    }
    pending_ = true;
  }
  const HANDLE wait_list[2] = {stop_, wait_.hEvent};
  // The stop wins over events that fire at the same moment: it has the lower index.
  const DWORD r = WaitForMultipleObjects(2, wait_list, FALSE, INFINITE);
  if (r != WAIT_OBJECT_0 + 1) return std::nullopt;
  DWORD ignored = 0;
  const BOOL finished = GetOverlappedResult(handle_, &wait_, &ignored, FALSE);
  // Signalled yet not ended: the wait goes on, after a pause like any failure's.
  if (!finished && GetLastError() == ERROR_IO_INCOMPLETE) return PauseAfterFailure();
  pending_ = false;
  if (!finished) return PauseAfterFailure();
  failures_in_a_row_ = 0;
  return fired_;
}

std::optional<uint32_t> Win32LineEventDevice::PauseAfterFailure() {
  const int doublings = std::min(failures_in_a_row_, 7);
  failures_in_a_row_ = std::min(failures_in_a_row_ + 1, 64);
  const DWORD pause = std::min(kFirstPauseMs << doublings, kLongestPauseMs);
  if (WaitForSingleObject(stop_, pause) == WAIT_OBJECT_0) return std::nullopt;
  return 0;
}

std::optional<CommStatus> Win32LineEventDevice::ClearCommError() {
  DWORD errors = 0;
  COMSTAT status{};
  if (!::ClearCommError(handle_, &errors, &status)) return std::nullopt;
  return CommStatus{errors, static_cast<int32_t>(status.cbInQue)};
}

std::optional<uint32_t> Win32LineEventDevice::ModemStatus() {
  DWORD status = 0;
  if (GetCommModemStatus(handle_, &status)) return status;
  // A port without modem lines (a virtual one, or Wine's on a pseudo-terminal) has none
  // raised.
  if (GetLastError() == ERROR_NOT_SUPPORTED) return 0;
  return std::nullopt;
}

}  // namespace

std::unique_ptr<LineEventDevice> MakeLineEventDevice(intptr_t handle, const TransferTally&) {
  return std::make_unique<Win32LineEventDevice>(reinterpret_cast<HANDLE>(handle));
}

}  // namespace zorvan
