#pragma once
// The device's line-event services for one opening of a port, behind one small seam: on
// Win32 they are SetCommMask, WaitCommEvent with the stop event beside it, PurgeComm,
// ClearCommError and GetCommModemStatus; the Linux backend builds the same out of poll()
// and the terminal's status requests. Tests put a stand-in behind the seam.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "serial/transfer_tally.h"

namespace zorvan {

// What ClearCommError reports.
struct CommStatus {
  uint32_t ErrorFlags = 0;  // the CE_* flags raised since the previous report
  int32_t Waiting = 0;      // bytes in the receive queue
};

class LineEventDevice {
 public:
  virtual ~LineEventDevice() = default;

  // Arms the events whose EV_* bits are in `mask` for WaitForEvents; 0 disarms them all.
  virtual void SetEventMask(uint32_t mask) = 0;
  // On the event thread: blocks until armed events fire or the stop is requested. Returns
  // the EV_* bits of the events that fired, 0 for a wait that failed and so reports
  // nothing, or no value once the stop is requested (the stop wins over events that fire
  // at the same time).
  virtual std::optional<uint32_t> WaitForEvents() = 0;
  // From any thread, any number of times: ends the current wait and every later one.
  virtual void RequestStop() = 0;
  // Discards whatever waits in the receive and the transmit queue.
  virtual void DiscardQueues() = 0;
  // The line's error flags, which this clears, and the receive-queue count; no value when
  // the device does not answer.
  virtual std::optional<CommStatus> ClearCommError() = 0;
  // The modem-status bits (MS_*); no value when the device does not answer. A device
  // without modem lines reports none raised.
  virtual std::optional<uint32_t> ModemStatus() = 0;
};

// The platform's services for the device behind `handle` (a file descriptor on Linux, a
// HANDLE on Win32). `tally` is kept by the port's transfers and outlives the services.
// Raises std::system_error when the system has no resources left for the watch.
using LineEventDeviceFactory =
    std::function<std::unique_ptr<LineEventDevice>(intptr_t handle, const TransferTally& tally)>;
std::unique_ptr<LineEventDevice> MakeLineEventDevice(intptr_t handle, const TransferTally& tally);

}  // namespace zorvan
