// The Win32 side of TBComPort: the device opened unshared for overlapped use, set with a
// DCB and COMMTIMEOUTS, and every transfer made with a request record of its own. The
// driver applies the time-out rules itself.

#include <windows.h>
#include <timeapi.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstddef>

#include "serial/bcport.h"

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

// One overlapped transfer: its OVERLAPPED record and a manual-reset completion event that
// starts signalled, made for one call and released at its end. The driver writes into
// the record and the caller's buffer until the transfer ends, so a transfer that is not
// known to have ended is cancelled and waited for before either goes away.
class TPortRequest {
 public:
  enum TDirection { rdWrite, rdRead };

  TPortRequest(HANDLE handle, TDirection direction) : handle_(handle), direction_(direction) {
    // A closed port has no device to reach; the invalid value is also the pseudo-handle
    // of this very process, which must never be read or written.
    if (handle_ == INVALID_HANDLE_VALUE) Fail();
    overlapped_.hEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (overlapped_.hEvent == nullptr) Fail();
  }
  ~TPortRequest() {
    if (started_ && !ended_) {
      CancelIoEx(handle_, &overlapped_);
      DWORD ignored = 0;
      GetOverlappedResult(handle_, &overlapped_, &ignored, TRUE);
    }
    if (overlapped_.hEvent != nullptr) CloseHandle(overlapped_.hEvent);
  }
  TPortRequest(const TPortRequest&) = delete;
  TPortRequest& operator=(const TPortRequest&) = delete;

  void StartWrite(const char* data, int count) {
    DWORD immediate = 0;
    Started(WriteFile(handle_, data, static_cast<DWORD>(count), &immediate, &overlapped_));
  }
  void StartRead(char* buffer, int count) {
    DWORD immediate = 0;
    Started(ReadFile(handle_, buffer, static_cast<DWORD>(count), &immediate, &overlapped_));
  }

  // Waits without a limit of its own: the port's time-outs end the transfer.
  int Await() {
    DWORD moved = 0;
    if (WaitForSingleObject(overlapped_.hEvent, INFINITE) != WAIT_OBJECT_0) Fail();
    const BOOL finished = GetOverlappedResult(handle_, &overlapped_, &moved, FALSE);
    const DWORD error = finished ? ERROR_SUCCESS : GetLastError();
    ended_ = error != ERROR_IO_INCOMPLETE;
    // A transfer the time-outs cut short ends with the NT status STATUS_TIMEOUT, which is
    // a success: Windows reports it so, while Wine reports it as the error ERROR_TIMEOUT
    // with the count still given. Either way the time running out is no failure.
    if (!finished && error != ERROR_TIMEOUT) Fail();
    return static_cast<int>(moved);
  }

 private:
  void Started(BOOL result) {
    if (!result && GetLastError() != ERROR_IO_PENDING) Fail();
    started_ = true;
  }
  [[noreturn]] void Fail() const {
    throw EComPort(direction_ == rdRead ? com_text::kReadFailed : com_text::kWriteFailed);
  }

  HANDLE handle_;
  TDirection direction_;
  OVERLAPPED overlapped_{};
  bool started_ = false;
  bool ended_ = false;
};

int ReadRequest(HANDLE handle, char* buffer, int count) {
  TPortRequest request(handle, TPortRequest::rdRead);
  request.StartRead(buffer, count);
  return request.Await();
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
  return ReadRequest(AsHandle(handle_), buffer, count);
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
    got = ReadRequest(AsHandle(handle_), buffer, 1);
    if (got == 0) return 0;
  }
  timeouts.ReadIntervalTimeout = kMaxDword;
  timeouts.ReadTotalTimeoutMultiplier = 0;
  timeouts.ReadTotalTimeoutConstant = 0;
  SetDeviceTimeouts(AsHandle(handle_), timeouts);
  device_reads_arrivals_ = true;
  return got + (count > got ? ReadRequest(AsHandle(handle_), buffer + got, count - got) : 0);
}

int TBComPort::WriteBytes(const char* data, int count) {
  TPortRequest request(AsHandle(handle_), TPortRequest::rdWrite);
  request.StartWrite(data, count);
  return request.Await();
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
