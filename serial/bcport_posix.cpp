// The Linux side of TBComPort: a terminal device opened without a controlling terminal,
// non-blocking, and timed with poll() against the monotonic clock.

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "serial/bcport.h"
#include "serial/termios_settings_posix.h"
#include "serial/transfer_limits.h"

namespace zorvan {

namespace {

using Clock = std::chrono::steady_clock;
using Deadline = std::optional<Clock::time_point>;

bool NameExists(const std::string& path) {
  struct stat node {};
  return lstat(path.c_str(), &node) == 0;
}

// A name with a "/" in it is a path and is taken as it stands (/dev/ttyUSB0, ./port1, a
// link in the current folder); a bare name is a device under /dev (ttyUSB0), or else a
// stable name under /dev/serial/by-id. A bare name found in neither leads to /dev.
std::string DevicePath(const std::string& port) {
  if (port.empty() || port.find('/') != std::string::npos) return port;
  const std::string device = "/dev/" + port;
  if (NameExists(device)) return device;
  const std::string stable = "/dev/serial/by-id/" + port;
  return NameExists(stable) ? stable : device;
}

int Fd(intptr_t handle) { return static_cast<int>(handle); }

// A limit beyond a century is no limit; it would not fit the clock's range either.
Deadline DeadlineAfter(Clock::time_point start, std::optional<uint64_t> milliseconds) {
  constexpr uint64_t kCentury = 100ULL * 366 * 24 * 3600 * 1000;
  if (!milliseconds || *milliseconds > kCentury) return std::nullopt;
  return start + std::chrono::milliseconds(*milliseconds);
}

bool Passed(const Deadline& deadline) { return deadline && Clock::now() >= *deadline; }

// Waits for `events` until the deadline and returns what poll reported, 0 when the time
// ran out. Hang-up and errors are reported whatever `events` asks for.
short WaitFor(int fd, short events, const Deadline& deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    timespec left{};
    if (deadline) {
      const auto ns = std::max<int64_t>(
          0, std::chrono::duration_cast<std::chrono::nanoseconds>(*deadline - Clock::now()).count());
      left.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      left.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    }
    const int r = ppoll(&entry, 1, deadline ? &left : nullptr, nullptr);
    if (r > 0) return entry.revents;
    if (r == 0) return 0;
    if (errno != EINTR) return POLLERR;
  }
}

bool HungUp(short revents, short wanted) {
  return (revents & (POLLHUP | POLLERR | POLLNVAL)) != 0 && (revents & wanted) == 0;
}

// Takes what the terminal has queued, at most `count` bytes; 0 when nothing is queued.
int TakeQueued(int fd, TransferTally& tally, char* buffer, int count) {
  for (;;) {
    tally.BeginTake();
    const ssize_t n = read(fd, buffer, static_cast<size_t>(count));
    tally.EndTake(n > 0 ? static_cast<uint64_t>(n) : 0);
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && errno == EINTR) continue;
    // A hung-up terminal reads 0 bytes, and one whose other side has gone reads EIO;
    // with nothing queued a live one reports EAGAIN.
    if (n == 0 || errno != EAGAIN) throw EComPort(com_text::kReadFailed);
    return 0;
  }
}

// A device without modem lines, a pseudo-terminal above all, answers the modem-line
// requests with ENOTTY or EINVAL: there is nothing to raise or drop there, which is no
// failure. Any other error is one.
bool SetModemLines(int fd, int lines, bool state) {
  if (ioctl(fd, state ? TIOCMBIS : TIOCMBIC, &lines) == 0) return true;
  return errno == ENOTTY || errno == EINVAL;
}

// The characters the driver still holds for the line; -1 when it keeps no count, and no
// value when the device failed the request.
std::optional<int> OutputQueue(int fd) {
  int queued = 0;
  if (ioctl(fd, TIOCOUTQ, &queued) == 0) return queued;
  if (errno == ENOTTY || errno == EINVAL) return -1;
  return std::nullopt;
}

// Waits until the driver's output queue has gone out on the line, or the deadline. The
// check is made again after about the time the queued characters take on the wire.
void WaitUntilSent(int fd, const Deadline& deadline) {
  for (;;) {
    const std::optional<int> queued = OutputQueue(fd);
    if (!queued) throw EComPort(com_text::kWriteFailed);
    if (*queued <= 0 || Passed(deadline)) return;
    termios2 line{};
    const uint64_t rate = ioctl(fd, TCGETS2, &line) == 0 && line.c_ospeed > 0 ? line.c_ospeed : 9600;
    const auto wire_time = std::chrono::nanoseconds(uint64_t(*queued) * 10'000'000'000ULL / rate);
    Deadline next = Clock::now() + std::max<Clock::duration>(wire_time, std::chrono::microseconds(200));
    if (deadline) next = std::min(*next, *deadline);
    if ((WaitFor(fd, 0, next) & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      throw EComPort(com_text::kWriteFailed);
    }
  }
}

// A USB-serial adapter holds received bytes until its latency timer runs out (16 ms on
// the common chips) or a USB packet fills, so a 1 ms read window misses replies and the
// pauses calibrate upwards. Asked for low latency, the common drivers (ftdi_sio among
// them) set the timer to 1 ms. A pseudo-terminal, and a driver without the request,
// refuses it; the port works as before then.
void AskForLowLatency(int fd) {
  serial_struct info{};
  if (ioctl(fd, TIOCGSERIAL, &info) != 0 || (info.flags & ASYNC_LOW_LATENCY) != 0) return;
  info.flags |= ASYNC_LOW_LATENCY;
  ioctl(fd, TIOCSSERIAL, &info);
}

}  // namespace

void TBComPort::CreatePortHandle() {
  const std::string path = DevicePath(port_);
  // Only a character device can be a serial port. Anything else (a file, a folder) is
  // not even opened, so nothing can be written into it; the first settings step then
  // reports a port that could not be set up.
  struct stat node {};
  if (stat(path.c_str(), &node) == 0 && !S_ISCHR(node.st_mode)) return;
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == ENODEV || errno == ENXIO) {
      throw EComPort(com_text::kNoSuchPort);
    }
    // Another opener holds the terminal exclusively.
    if (errno == EBUSY) throw EComPort(com_text::kPortInUse);
    return;
  }
  // TIOCEXCL turns other openers away, but root passes it; the advisory lock holds
  // against every other opener that asks for it, this program's other instances and its
  // other ports included, root or not.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    close(fd);
    throw EComPort(com_text::kPortInUse);
  }
  // A device that is no terminal refuses this; the first settings step reports it.
  ioctl(fd, TIOCEXCL);
  AskForLowLatency(fd);
  handle_ = fd;
}

void TBComPort::ClosePortHandle() {
  if (handle_ < 0) return;
  ioctl(Fd(handle_), TIOCNXCL);
  close(Fd(handle_));
  handle_ = -1;
}

void TBComPort::ApplyQueueSizesToDevice() {
  // The Linux terminal queues have a fixed size; what this step can check is that the
  // device is a terminal at all.
  termios2 t{};
  if (ioctl(Fd(handle_), TCGETS2, &t) != 0) throw EComPort(com_text::kSetupCommFailed);
}

void TBComPort::ApplyLineSettingsToDevice(const LineSettings& settings) {
  const int fd = Fd(handle_);
  termios2 t{};
  if (ioctl(fd, TCGETS2, &t) != 0) throw EComPort(com_text::kSetCommStateFailed);
  FillTermios2(t, settings);
  termios2 reported{};
  if (ioctl(fd, TCSETS2, &t) != 0 || ioctl(fd, TCGETS2, &reported) != 0 ||
      !RateAccepted(reported, BaudRateValues[settings.BaudRate]) ||
      !SetModemLines(fd, TIOCM_DTR | TIOCM_RTS, true)) {
    throw EComPort(com_text::kSetCommStateFailed);
  }
}

void TBComPort::ApplyTimeoutsToDevice() {
  // Nothing to hand to the driver: every transfer times itself by the current values.
}

void TBComPort::SetDTRLine(bool state) {
  if (!SetModemLines(Fd(handle_), TIOCM_DTR, state)) {
    throw EComPort(com_text::kEscapeCommFunctionFailed);
  }
}

void TBComPort::SetRTSLine(bool state) {
  if (!SetModemLines(Fd(handle_), TIOCM_RTS, state)) {
    throw EComPort(com_text::kEscapeCommFunctionFailed);
  }
}

void TBComPort::AbortPending() {
  // Transfers run to their end inside WriteStr and ReadStr on the caller's thread, so
  // none is ever pending when the port is closed.
}

bool TBComPort::DeviceGone() {
  // A terminal that has hung up, its adapter unplugged or the other side of a
  // pseudo-terminal closed, answers every request with EIO from then on, even a request
  // for its settings; one that is still there answers that.
  termios2 t{};
  return ioctl(Fd(handle_), TCGETS2, &t) != 0;
}

int TBComPort::QueuedOutput() { return OutputQueue(Fd(handle_)).value_or(0); }

int TBComPort::ReadBytes(char* buffer, int count) {
  const int fd = Fd(handle_);
  if (fd < 0) throw EComPort(com_text::kReadFailed);
  const ReadLimits limits = ReadLimitsFor(MakeCommTimeouts(timeouts_), count);
  const Deadline total = DeadlineAfter(Clock::now(), limits.TotalMs);
  int got = 0;
  Clock::time_point last_arrival;
  while (got < count) {
    // Never more than is still owed: what arrives beyond it stays queued for the next read.
    const int n = TakeQueued(fd, tally_, buffer + got, count - got);
    if (n > 0) {
      got += n;
      last_arrival = Clock::now();
      continue;
    }
    if (limits.ReturnAtOnce) break;
    Deadline deadline = total;
    if (got > 0) {
      const Deadline gap_end = DeadlineAfter(last_arrival, limits.IntervalMs);
      if (gap_end && (!deadline || *gap_end < *deadline)) deadline = gap_end;
    }
    if (Passed(deadline)) break;
    if (HungUp(WaitFor(fd, POLLIN, deadline), POLLIN)) throw EComPort(com_text::kReadFailed);
  }
  return got;
}

int TBComPort::ReadBytesArrived(char* buffer, int count, Clock::time_point deadline) {
  const int fd = Fd(handle_);
  if (fd < 0) throw EComPort(com_text::kReadFailed);
  for (;;) {
    if (const int n = TakeQueued(fd, tally_, buffer, count); n > 0) return n;
    if (Passed(deadline)) return 0;
    if (HungUp(WaitFor(fd, POLLIN, deadline), POLLIN)) throw EComPort(com_text::kReadFailed);
  }
}

int TBComPort::WriteBytes(const char* data, int count) {
  const int fd = Fd(handle_);
  if (fd < 0) throw EComPort(com_text::kWriteFailed);
  const Deadline deadline =
      DeadlineAfter(Clock::now(), WriteLimitFor(MakeCommTimeouts(timeouts_), count));
  int sent = 0;
  while (sent < count) {
    const ssize_t n = write(fd, data + sent, static_cast<size_t>(count - sent));
    if (n > 0) {
      tally_.AddGiven(static_cast<uint64_t>(n));
      sent += static_cast<int>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) throw EComPort(com_text::kWriteFailed);
    // Bytes the driver has accepted go out whatever happens next, so they count as sent
    // even when the time runs out.
    if (Passed(deadline)) return sent;
    if (HungUp(WaitFor(fd, POLLOUT, deadline), POLLOUT)) throw EComPort(com_text::kWriteFailed);
  }
  WaitUntilSent(fd, deadline);
  return sent;
}

namespace {

// The kernel names the subsystem of most character devices in sysfs (/dev/null's is
// "mem"); a pseudo-terminal has no entry there. Asked without opening the device, as an
// open raises a real port's modem lines.
bool TerminalOrUnknown(dev_t device) {
  std::error_code ec;
  const std::filesystem::path subsystem = std::filesystem::read_symlink(
      "/sys/dev/char/" + std::to_string(major(device)) + ":" + std::to_string(minor(device)) + "/subsystem", ec);
  return ec || subsystem.filename() == "tty";
}

}  // namespace

PortDiagnosis DiagnosePort(const std::string& port) {
  PortDiagnosis d;
  d.path = DevicePath(port);
  struct stat node {};
  if (d.path.empty() || stat(d.path.c_str(), &node) != 0) {
    d.kind = PortDiagnosis::Missing;
    d.in_current_folder = !port.empty() && port.find('/') == std::string::npos && NameExists(port);
    return d;
  }
  if (S_ISDIR(node.st_mode)) d.kind = PortDiagnosis::Folder;
  else if (S_ISREG(node.st_mode)) d.kind = PortDiagnosis::File;
  else if (!S_ISCHR(node.st_mode) || !TerminalOrUnknown(node.st_rdev)) d.kind = PortDiagnosis::NotADevice;
  if (d.kind != PortDiagnosis::Device || access(d.path.c_str(), R_OK | W_OK) == 0 || errno != EACCES) return d;
  d.kind = PortDiagnosis::NoPermission;
  // getgrgid's record is shared by the whole program; the runs of a gang ask at once.
  struct group record {};
  struct group* found = nullptr;
  std::vector<char> buffer(16384);
  if (getgrgid_r(node.st_gid, &record, buffer.data(), buffer.size(), &found) == 0 && found &&
      std::string(found->gr_name) != "root") {
    d.group = found->gr_name;
  }
  return d;
}

std::string PortIdentity(const std::string& port) {
  // A name that leads nowhere yet is still compared by what it spells.
  std::error_code ignored;
  return std::filesystem::weakly_canonical(DevicePath(port), ignored).string();
}

bool PortPresent(const std::string& port) {
  // A by-id link whose adapter has gone leads nowhere: stat follows it.
  struct stat node {};
  return !port.empty() && stat(DevicePath(port).c_str(), &node) == 0;
}

}  // namespace zorvan
