// The Win32 side of TBComPort: the device opened unshared for overlapped use, set with a
// DCB and COMMTIMEOUTS, and every transfer made with a request record of its own. The
// driver applies the time-out rules, and every transfer also ends by our own clock, so
// that a driver that keeps a read waiting cannot hold the program.

#include <windows.h>
#include <timeapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "serial/bcport.h"
#include "serial/transfer_limits.h"

namespace zorvan {

namespace {

static_assert(sizeof(DCB) == sizeof(DcbRecord) &&
                  offsetof(DCB, BaudRate) == offsetof(DcbRecord, BaudRate) &&
                  offsetof(DCB, XonLim) == offsetof(DcbRecord, XonLim) &&
                  offsetof(DCB, ByteSize) == offsetof(DcbRecord, ByteSize) &&
                  offsetof(DCB, EvtChar) == offsetof(DcbRecord, EvtChar),
              "DcbRecord is laid out as the DCB the driver takes");
static_assert(sizeof(COMMTIMEOUTS) == sizeof(CommTimeoutsRecord),
              "CommTimeoutsRecord is laid out as COMMTIMEOUTS");

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Port names live in the device namespace: \\.\COM3.
std::string DevicePath(const std::string& port) { return "\\\\.\\" + port; }

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A virtual port without modem lines (Wine's port on a pseudo-terminal, some Bluetooth
// and USB bridges) answers a DTR or RTS request with ERROR_NOT_SUPPORTED: there is no line
// to raise or drop, which is no failure. Any other refusal is one.
bool SetModemLine(HANDLE handle, DWORD function) {
  return EscapeCommFunction(handle, function) || GetLastError() == ERROR_NOT_SUPPORTED;
}

using Clock = std::chrono::steady_clock;

// A driver may end a transfer a little after the time-outs it was given say (its timer's
// granularity, a busy computer); past this, the transfer is ended by cancelling it.
constexpr auto kDriverGrace = std::chrono::milliseconds(50);
// How long a cancelled transfer is given to end; a driver that holds it longer is taken
// for one that no longer serves the port.
constexpr DWORD kCancelGraceMs = 2000;

// When a transfer whose driver was set `limit_ms` must have ended by our own clock; none
// when the time-outs set no total limit, and the caller asked to wait as long as it takes.
std::optional<Clock::time_point> EndBy(std::optional<uint64_t> limit_ms) {
  if (!limit_ms) return std::nullopt;
  // A limit of days is as good as none, and would overflow the clock's arithmetic.
  constexpr uint64_t kLongestMs = 24ull * 3600 * 1000;
  if (*limit_ms > kLongestMs) return std::nullopt;
  return Clock::now() + std::chrono::milliseconds(*limit_ms) + kDriverGrace;
}

// One overlapped transfer: its OVERLAPPED record, a manual-reset completion event that
// starts signalled, and a buffer of its own, which the driver reads from or writes into
// until the transfer has ended. Every transfer ends by our own clock as well as by the
// driver's time-outs: one still running at its end is cancelled, and what it had moved
// by then counts, as a transfer cut short by the time-outs does. Some drivers (Wine's among
// them) keep a read waiting for its first byte long past its total time-out.
class TPortRequest {
 public:
  enum TDirection { rdWrite, rdRead };

  TPortRequest(HANDLE handle, TDirection direction, int count)
      : handle_(handle), direction_(direction), buffer_(static_cast<size_t>(count)) {
    // A closed port has no device to reach; the invalid value is also the pseudo-handle
    // of this very process, which must never be read or written.
    if (handle_ == INVALID_HANDLE_VALUE) Fail();
    overlapped_.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (overlapped_.hEvent == nullptr) Fail();
  }
  // Only a request that has ended, or was never started, is destroyed.
  ~TPortRequest() { CloseHandle(overlapped_.hEvent); }
  TPortRequest(const TPortRequest&) = delete;
  TPortRequest& operator=(const TPortRequest&) = delete;

  char* Buffer() { return buffer_.data(); }

  void Start() {
    DWORD immediate = 0;
    const DWORD count = static_cast<DWORD>(buffer_.size());
    const BOOL result = direction_ == rdWrite
                            ? WriteFile(handle_, buffer_.data(), count, &immediate, &overlapped_)
                            : ReadFile(handle_, buffer_.data(), count, &immediate, &overlapped_);
    if (!result && GetLastError() != ERROR_IO_PENDING) Fail();
  }

  // Waits until the transfer has ended or `end_by` has passed, cancelling it then; false
  // when even the cancelled transfer does not end.
  bool AwaitEnd(std::optional<Clock::time_point> end_by) {
    DWORD wait_ms = INFINITE;
    if (end_by) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*end_by - Clock::now()).count();
      wait_ms = static_cast<DWORD>(std::clamp<int64_t>(left, 0, INFINITE - 1));
    }
    if (WaitForSingleObject(overlapped_.hEvent, wait_ms) == WAIT_OBJECT_0) return true;
    cancelled_ = true;
    CancelIoEx(handle_, &overlapped_);
    return WaitForSingleObject(overlapped_.hEvent, kCancelGraceMs) == WAIT_OBJECT_0;
  }

  // The ended transfer's count. Running out of time is no failure: Windows reports a
  // transfer the time-outs cut short as a success (STATUS_TIMEOUT), Wine as the error
  // ERROR_TIMEOUT with the count still given, and one we cancelled ends aborted. A
  // transfer aborted by anyone else (a driver whose adapter was pulled out) has failed.
  int Moved() {
    DWORD moved = 0;
    if (!GetOverlappedResult(handle_, &overlapped_, &moved, FALSE)) {
      const DWORD error = GetLastError();
      if (error != ERROR_TIMEOUT && !(cancelled_ && error == ERROR_OPERATION_ABORTED)) Fail();
    }
    return static_cast<int>(std::min<DWORD>(moved, static_cast<DWORD>(buffer_.size())));
  }

  [[noreturn]] void Fail() const {
    throw EComPort(direction_ == rdRead ? com_text::kReadFailed : com_text::kWriteFailed);
  }

 private:
  HANDLE handle_;
  TDirection direction_;
  std::vector<char> buffer_;
  OVERLAPPED overlapped_{};
  bool cancelled_ = false;
};

// One transfer of `count` bytes, ended by `end_by` at the latest: a write of `out`, or a
// read into `in`. Returns the count moved.
int Transfer(HANDLE handle, TPortRequest::TDirection direction, const char* out, char* in, int count,
             std::optional<Clock::time_point> end_by) {
  auto request = std::make_unique<TPortRequest>(handle, direction, count);
  if (out != nullptr) std::copy_n(out, count, request->Buffer());
  request->Start();
  if (!request->AwaitEnd(end_by)) {
    // The driver keeps the transfer though it was cancelled, and may still write into its
    // record and buffer: they are left to it, and the port is taken for failed.
    request.release()->Fail();
  }
  const int moved = request->Moved();
  if (in != nullptr) std::copy_n(request->Buffer(), moved, in);
  return moved;
}

int ReadTransfer(HANDLE handle, char* buffer, int count, std::optional<Clock::time_point> end_by) {
  return Transfer(handle, TPortRequest::rdRead, nullptr, buffer, count, end_by);
}

int WriteTransfer(HANDLE handle, const char* data, int count, std::optional<Clock::time_point> end_by) {
  return Transfer(handle, TPortRequest::rdWrite, data, nullptr, count, end_by);
}

void SetDeviceTimeouts(HANDLE handle, const CommTimeoutsRecord& record) {
  COMMTIMEOUTS timeouts;
  memcpy(&timeouts, &record, sizeof timeouts);
  if (!SetCommTimeouts(handle, &timeouts)) throw EComPort(com_text::kSetCommTimeoutsFailed);
}

}  // namespace

void TBComPort::CreatePortHandle() {
  const std::string path = DevicePath(port_);
  const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) throw EComPort(com_text::kNoSuchPort);
    // A folder refuses to be opened so, which is no port in use.
    if (error == ERROR_ACCESS_DENIED && !IsFolder(path)) throw EComPort(com_text::kPortInUse);
    // Any other reason is told by the first settings step, which fails on no device.
    return;
  }
  // A file named in a port's place opens like one; it is let go untouched, and the first
  // settings step reports a port that could not be set up.
  if (GetFileType(handle) != FILE_TYPE_CHAR) {
    CloseHandle(handle);
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(handle);
  // Windows rounds waits and the driver's time-outs up to its tick (about 15.6 ms) unless
  // a program asks for 1 ms; the protocol's 1 ms pauses and reads rely on it.
  timeBeginPeriod(1);
}

void TBComPort::ClosePortHandle() {
  if (AsHandle(handle_) == INVALID_HANDLE_VALUE) return;
  CloseHandle(AsHandle(handle_));
  timeEndPeriod(1);
  handle_ = reinterpret_cast<intptr_t>(INVALID_HANDLE_VALUE);
}

void TBComPort::ApplyQueueSizesToDevice() {
  // SetupComm takes unsigned sizes: a negative one reaches the driver as a huge request,
  // which it refuses, as it always has.
  if (!SetupComm(AsHandle(handle_), static_cast<DWORD>(in_buf_size_),
                 static_cast<DWORD>(out_buf_size_))) {
    throw EComPort(com_text::kSetupCommFailed);
  }
}

void TBComPort::ApplyLineSettingsToDevice(const LineSettings& settings) {
  const DcbRecord record = MakeDcb(settings);
  DCB dcb;
  memcpy(&dcb, &record, sizeof dcb);
  if (!SetCommState(AsHandle(handle_), &dcb)) throw EComPort(com_text::kSetCommStateFailed);
}

void TBComPort::ApplyTimeoutsToDevice() {
  SetDeviceTimeouts(AsHandle(handle_), MakeCommTimeouts(timeouts_));
  device_reads_arrivals_ = false;
}

void TBComPort::SetDTRLine(bool state) {
  if (!SetModemLine(AsHandle(handle_), state ? SETDTR : CLRDTR)) {
    throw EComPort(com_text::kEscapeCommFunctionFailed);
  }
}

void TBComPort::SetRTSLine(bool state) {
  if (!SetModemLine(AsHandle(handle_), state ? SETRTS : CLRRTS)) {
    throw EComPort(com_text::kEscapeCommFunctionFailed);
  }
}

void TBComPort::AbortPending() {
  if (!PurgeComm(AsHandle(handle_), PURGE_TXABORT | PURGE_RXABORT)) {
    throw EComPort(com_text::kPurgeCommFailed);
  }
}

bool TBComPort::DeviceGone() {
  // A removed adapter fails every request on its handle from then on, with
  // ERROR_DEVICE_REMOVED, ERROR_BAD_COMMAND, ERROR_ACCESS_DENIED or another error as its
  // driver chooses; a device that is still there answers a request for its settings.
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  return !GetCommState(AsHandle(handle_), &dcb);
}

int TBComPort::QueuedOutput() {
  DWORD errors = 0;
  COMSTAT status{};
  if (!::ClearCommError(AsHandle(handle_), &errors, &status)) return 0;
  return static_cast<int>(status.cbOutQue);
}

int TBComPort::ReadBytes(char* buffer, int count) {
  if (device_reads_arrivals_) ApplyTimeoutsToDevice();
  const ReadLimits limits = ReadLimitsFor(MakeCommTimeouts(timeouts_), count);
  return ReadTransfer(AsHandle(handle_), buffer, count,
                      EndBy(limits.ReturnAtOnce ? std::optional<uint64_t>(0) : limits.TotalMs));
}

int TBComPort::ReadBytesArrived(char* buffer, int count, std::chrono::steady_clock::time_point deadline) {
  // The driver waits for the first byte as long as the read's total time-out, and a read
  // of one byte ends as it arrives; the rest is taken at once with the read that returns
  // whatever is queued. Both time-out sets are documented Win32 rules that Wine keeps too,
  // where a first-byte wait (ReadTotalTimeoutMultiplier MAXDWORD) waits for the whole count.
  CommTimeoutsRecord timeouts = MakeCommTimeouts(timeouts_);
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  int got = 0;
  if (left.count() > 0) {
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = static_cast<uint32_t>(std::min<int64_t>(left.count(), kMaxDword - 1));
    SetDeviceTimeouts(AsHandle(handle_), timeouts);
    device_reads_arrivals_ = true;
    got = ReadTransfer(AsHandle(handle_), buffer, 1, deadline);
    if (got == 0) return 0;
  }
  timeouts.ReadIntervalTimeout = kMaxDword;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  SetDeviceTimeouts(AsHandle(handle_), timeouts);
  device_reads_arrivals_ = true;
  return got + (count > got ? ReadTransfer(AsHandle(handle_), buffer + got, count - got, EndBy(0)) : 0);
}

int TBComPort::WriteBytes(const char* data, int count) {
  return WriteTransfer(AsHandle(handle_), data, count, EndBy(WriteLimitFor(MakeCommTimeouts(timeouts_), count)));
}

PortDiagnosis DiagnosePort(const std::string& port) {
  PortDiagnosis d;
  d.path = port;
  // Windows tells a port in use from a missing one itself. What it cannot tell is a path
  // given where a port name (which never holds a separator or a drive's colon) belongs.
  if (port.find_first_of("\\/:") == std::string::npos) return d;
  const std::string path = DevicePath(port);
  if (IsFolder(path)) d.kind = PortDiagnosis::Folder;
  else if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) d.kind = PortDiagnosis::File;
  return d;
}

std::string PortIdentity(const std::string& port) {
  // COM names are not case-sensitive, and \\.\COM3 (the form ports above COM9 need in
  // CreateFile) is COM3.
  std::string name = port.rfind("\\\\.\\", 0) == 0 ? port.substr(4) : port;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

bool PortPresent(const std::string& port) {
  // The system keeps a DOS device name for every COM port it has now; an unplugged
  // adapter's goes with it.
  const std::string name = PortIdentity(port);
  char target[1024];
  if (name.empty()) return false;
  if (QueryDosDeviceA(name.c_str(), target, sizeof target) != 0) return true;
  // A port that has no such name (Wine's ports made by a link in its dosdevices folder)
  // is there when asking for its attributes reaches a device, which refuses to say them.
  if (GetFileAttributesA(DevicePath(name).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_BAD_DEV_TYPE &&
         error != ERROR_INVALID_NAME;
}

}  // namespace zorvan
