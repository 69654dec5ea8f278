#pragma once
// TBComPort, the serial port component: it keeps the line settings, opens and closes the
// device, re-applies a changed setting at once while open, and moves bytes under the
// port's time-outs (the rules are in serial/transfer_limits.h). Every failure is an
// EComPort carrying one of the fixed texts of serial/ecomport.h.
//
// The portable logic is in bcport.cpp; the device calls are in one backend file per
// platform. On Linux, Port is a device path (/dev/ttyUSB0, /dev/pts/3); a bare name such
// as ttyUSB0 means /dev/ttyUSB0. The device is taken exclusively, as an unshared Win32
// open takes it.

#include <cstdint>
#include <string>

#include "serial/com_records.h"
#include "serial/com_timeouts.h"
#include "serial/com_types.h"
#include "serial/ecomport.h"
#include "serial/port_operations.h"

namespace zorvan {

class TBComPort : public PortOperations {
 public:
  TBComPort() = default;
  // Closes the port first. A device that can no longer be closed in order (it was
  // unplugged, say) is released all the same.
  ~TBComPort() override;
  TBComPort(const TBComPort&) = delete;
  TBComPort& operator=(const TBComPort&) = delete;

  // Opens the port unless it is open and returns Connected. A failure leaves the port
  // closed with the device released, and raises the text of the step that failed.
  bool Open() override;
  // Drops DTR and RTS and releases the device; true whenever it returns normally. A
  // failure on the way leaves the port open, and a later Close tries again.
  bool Close() override;
  bool Connected() const { return connected_; }

  // Blocks until the bytes are handed to the line or the write time-outs pass; returns
  // the count sent. An empty text sends nothing and returns 0.
  int WriteStr(const std::string& text) override;
  // Reads at most `count` bytes under the read time-outs; `text` then holds exactly the
  // bytes read. A count of zero or less empties `text` and reads nothing. Bytes that
  // arrive after the read has ended stay queued for the next one.
  int ReadStr(std::string& text, int count) override;

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

 private:
  friend class TComTimeouts;

  template <typename T>
  void SetLineValue(T& field, T value);
  void SetQueueSize(int32_t& field, int32_t value);
  LineSettings CurrentLineSettings() const;

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
  int ReadBytes(char* buffer, int count);
  int WriteBytes(const char* data, int count);

  TBaudRate baud_rate_ = br9600;
  TByteSize byte_size_ = bs8;
  bool connected_ = false;
  // A file descriptor on Linux, a HANDLE on Win32; -1 is invalid on both.
  intptr_t handle_ = -1;
  int32_t in_buf_size_ = 2048;
  int32_t out_buf_size_ = 2048;
  TParity parity_ = paNone;
  std::string port_ = "COM2";
  TStopBits stop_bits_ = sb1;
  TSyncMethod sync_method_ = smThreadSync;
  TComTimeouts timeouts_{this};
};

// A line that tells the operator more about why `port` could not be opened than the
// port's own text does (no permission on the device, and the group that grants it);
// empty when there is nothing to add.
std::string PortAccessHint(const std::string& port);

}  // namespace zorvan
