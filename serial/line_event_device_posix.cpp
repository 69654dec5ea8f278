// The Linux line-event watch. A terminal has no event wait of its own: the watch sleeps in
// poll() on the device and on an eventfd that carries the stop, and at each wake-up
// compares what the terminal reports with what it reported the time before. It never
// reads: every received byte is owed to ReadStr.

#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <system_error>
#include <thread>

#include "serial/com_events.h"
#include "serial/line_event_device.h"

namespace zorvan {

namespace {

// How often the watch looks at what only asking can tell: the transmit queue running
// empty, the modem lines and the line-error counters, and arrivals while earlier bytes
// are still waiting (the device stays readable then, so poll cannot be asked for them).
constexpr int kPollIntervalMs = 10;

// A Linux terminal's receive queue holds 4096 bytes (N_TTY_BUF_SIZE) whatever queue size
// the port asks for; "80% full" is reckoned from that.
constexpr int32_t kRx80FullCount = 4096 * 8 / 10;

// A pseudo-terminal, and any driver without modem lines or error counters, answers
// those requests with ENOTTY or EINVAL: then the kinds they feed never fire.
bool Unsupported(int error) { return error == ENOTTY || error == EINVAL; }

std::optional<int32_t> WaitingCount(int fd) {
  int count = 0;
  if (ioctl(fd, FIONREAD, &count) != 0) return std::nullopt;
  return count;
}

// The CE_* flags of the errors counted between two readings of the driver's counters.
uint32_t CountedErrors(const serial_icounter_struct& before, const serial_icounter_struct& now) {
  uint32_t flags = 0;
  if (now.frame != before.frame) flags |= comm_error::kFrame;
  if (now.parity != before.parity) flags |= comm_error::kRxParity;
  if (now.overrun != before.overrun) flags |= comm_error::kOverrun;
  if (now.brk != before.brk) flags |= comm_error::kBreak;
  if (now.buf_overrun != before.buf_overrun) flags |= comm_error::kRxOver;
  return flags;
}

// One look at the terminal.
struct LineState {
  std::optional<TransferTally::Reception> Reception;  // none while a read was under way
  uint64_t Given = 0;
  int Outgoing = 0;
  int ModemLines = 0;                 // TIOCM_* bits
  serial_icounter_struct Counters{};  // the driver's counts of signal changes and errors
};

class PosixLineEventDevice final : public LineEventDevice {
 public:
  PosixLineEventDevice(int fd, const TransferTally& tally);
  ~PosixLineEventDevice() override { close(stop_fd_); }

  void SetEventMask(uint32_t mask) override { mask_ = mask; }
  std::optional<uint32_t> WaitForEvents() override;
  void RequestStop() override;
  void DiscardQueues() override { ioctl(fd_, TCFLSH, TCIOFLUSH); }
  std::optional<CommStatus> ClearCommError() override;
  std::optional<uint32_t> ModemStatus() override;

 private:
  LineState Look() const;
  // The EV_* bits of what changed since `before`.
  uint32_t Changes(const LineState& before, const LineState& now) const;
  // Sleeps until the stop, a hang-up, an arrival when `arrivals` asks for one, or the
  // next look.
  void Sleep(bool arrivals);

  const int fd_;
  const TransferTally& tally_;
  const int stop_fd_;
  std::atomic<uint32_t> mask_{0};
  std::atomic<bool> stop_{false};
  bool has_modem_lines_ = false;
  bool has_counters_ = false;
  // The event thread's own: the last look, and whether the device is still there.
  LineState last_;
  std::optional<uint64_t> last_received_;
  int32_t last_waiting_ = 0;
  bool watching_ = true;
  // ClearCommError runs on whichever thread handles the events.
  std::mutex clear_mutex_;
  serial_icounter_struct cleared_{};
};

PosixLineEventDevice::PosixLineEventDevice(int fd, const TransferTally& tally)
    : fd_(fd), tally_(tally), stop_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (stop_fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  int lines = 0;
  has_modem_lines_ = ioctl(fd_, TIOCMGET, &lines) == 0 || !Unsupported(errno);
  has_counters_ = ioctl(fd_, TIOCGICOUNT, &cleared_) == 0;
  last_ = Look();
  if (last_.Reception) {
    last_received_ = last_.Reception->Received;
    last_waiting_ = last_.Reception->Waiting;
  }
}

void PosixLineEventDevice::RequestStop() {
  stop_ = true;
  const uint64_t one = 1;
  // A full counter already wakes the wait; nothing else can go wrong with an eventfd.
  [[maybe_unused]] const ssize_t written = write(stop_fd_, &one, sizeof one);
}

LineState PosixLineEventDevice::Look() const {
  LineState state;
  state.Reception = tally_.Received([this] { return WaitingCount(fd_); });
  // Taken before the queue is: a write that lands in between then shows as bytes queued
  // now and is reported when they have gone, never as empty before they have.
  state.Given = tally_.Given();
  if (ioctl(fd_, TIOCOUTQ, &state.Outgoing) != 0) state.Outgoing = 0;
  if (has_counters_) {
    if (ioctl(fd_, TIOCGICOUNT, &state.Counters) != 0) state.Counters = last_.Counters;
  } else if (has_modem_lines_) {
    // Only without counters: on a USB adapter this asks the adapter itself, over the bus
    // the data travels on, while the counters are kept by the driver.
    if (ioctl(fd_, TIOCMGET, &state.ModemLines) != 0) state.ModemLines = last_.ModemLines;
  }
  return state;
}

uint32_t PosixLineEventDevice::Changes(const LineState& before, const LineState& now) const {
  uint32_t fired = 0;
  const auto fire = [&fired](TComEventKind kind) { fired |= kEventMaskBits[kind]; };
  if (now.Reception) {
    if (last_received_ && now.Reception->Received > *last_received_) fire(ekRxChar);
    if (now.Reception->Waiting >= kRx80FullCount && last_waiting_ < kRx80FullCount) {
      fire(ekRx80Full);
    }
  }
  if (now.Outgoing == 0 && (before.Outgoing > 0 || now.Given != before.Given)) fire(ekTxEmpty);
  if (has_counters_) {
    // The counters see every change, even a pulse shorter than the interval between looks.
    const serial_icounter_struct& a = before.Counters;
    const serial_icounter_struct& b = now.Counters;
    if (b.cts != a.cts) fire(ekCTS);
    if (b.dsr != a.dsr) fire(ekDSR);
    if (b.dcd != a.dcd) fire(ekRLSD);
    if (b.rng != a.rng) fire(ekRing);
    if (CountedErrors(a, b) != 0) fire(ekError);
  } else if (has_modem_lines_) {
    const int changed = before.ModemLines ^ now.ModemLines;
    if (changed & TIOCM_CTS) fire(ekCTS);
    if (changed & TIOCM_DSR) fire(ekDSR);
    if (changed & TIOCM_CD) fire(ekRLSD);
    if (changed & now.ModemLines & TIOCM_RI) fire(ekRing);
  }
  return fired;
}

std::optional<uint32_t> PosixLineEventDevice::WaitForEvents() {
  for (;;) {
    if (stop_) return std::nullopt;
    bool arrivals = false;
    if (watching_) {
      const LineState now = Look();
      const uint32_t fired = Changes(last_, now) & mask_;
      last_ = now;
      if (now.Reception) {
        last_received_ = now.Reception->Received;
        last_waiting_ = now.Reception->Waiting;
        // Waiting for readability is only safe with an empty queue; with bytes waiting
        // the device stays readable until ReadStr takes them.
        arrivals = now.Reception->Waiting == 0;
      }
      if (fired != 0) return stop_ ? std::nullopt : std::optional(fired);
    }
    Sleep(arrivals);
  }
}

void PosixLineEventDevice::Sleep(bool arrivals) {
  pollfd entries[2] = {{stop_fd_, POLLIN, 0}, {fd_, static_cast<short>(arrivals ? POLLIN : 0), 0}};
  const int r = poll(entries, watching_ ? 2 : 1, watching_ ? kPollIntervalMs : -1);
  if (r < 0 && errno != EINTR) {
    // Nothing to wait with: give up the device and wait for the stop alone; should even
    // that fail, look for the stop now and then.
    if (!watching_) std::this_thread::sleep_for(std::chrono::milliseconds(kPollIntervalMs));
    watching_ = false;
    return;
  }
  // A device that has hung up (unplugged, or its far side closed) reports so for good and
  // would wake every wait: wait for the stop alone from now on.
  if (r > 0 && (entries[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) watching_ = false;
}

std::optional<CommStatus> PosixLineEventDevice::ClearCommError() {
  const std::optional<int32_t> waiting = WaitingCount(fd_);
  if (!waiting) return std::nullopt;
  CommStatus status{0, *waiting};
  if (has_counters_) {
    serial_icounter_struct now{};
    std::lock_guard lock(clear_mutex_);
    if (ioctl(fd_, TIOCGICOUNT, &now) == 0) {
      status.ErrorFlags = CountedErrors(cleared_, now);
      cleared_ = now;
    }
  }
  return status;
}

std::optional<uint32_t> PosixLineEventDevice::ModemStatus() {
  if (!has_modem_lines_) return 0;
  int lines = 0;
  if (ioctl(fd_, TIOCMGET, &lines) != 0) return std::nullopt;
  uint32_t status = 0;
  if (lines & TIOCM_CTS) status |= modem_status::kCTS;
  if (lines & TIOCM_DSR) status |= modem_status::kDSR;
  if (lines & TIOCM_RI) status |= modem_status::kRing;
  if (lines & TIOCM_CD) status |= modem_status::kRLSD;
  return status;
}

}  // namespace

std::unique_ptr<LineEventDevice> MakeLineEventDevice(intptr_t handle, const TransferTally& tally) {
  return std::make_unique<PosixLineEventDevice>(static_cast<int>(handle), tally);
}

}  // namespace zorvan
