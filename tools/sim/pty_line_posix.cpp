#include "tools/sim/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>

namespace zorvan::sim {

namespace {

// A character from the host and the moment it has crossed the line.
struct Crossing {
  char c;
  Time at;
};

// The loader is given the host's characters this long before they have crossed the line,
// so that a late wake-up of this thread never delays a reply; the replies are timed from
// the characters' own moments all the same.
constexpr std::chrono::milliseconds kLoaderLead{5};

std::runtime_error SystemError(const std::string& what) {
  return std::runtime_error(what + ": " + std::strerror(errno));
}

constexpr char kStopRequest = 1;
constexpr char kSwapRequest = 2;

timespec ToTimespec(std::chrono::nanoseconds d) {
  if (d.count() < 0) d = std::chrono::nanoseconds(0);
  return timespec{static_cast<time_t>(d.count() / 1'000'000'000), static_cast<long>(d.count() % 1'000'000'000)};
}

}  // namespace

PtyLine::PtyLine(unsigned baud, double adapter_latency_ms)
    : adapter_(std::chrono::nanoseconds(static_cast<int64_t>(adapter_latency_ms * 1e6)), Clock::now()) {
  if (pipe(request_pipe_) != 0) throw SystemError("pipe");
  for (int end : request_pipe_) fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
  // Ten bits per character: a start bit, eight data bits, a stop bit.
  if (baud > 0) char_time_ = std::chrono::nanoseconds(10'000'000'000LL / baud);
  Open();
}

PtyLine::~PtyLine() {
  Close();
  close(request_pipe_[0]);
  close(request_pipe_[1]);
}

void PtyLine::Open() {
  Close();
  int slave = -1;
  char name[256] = {};
  if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) throw SystemError("openpty");
  termios raw{};
  tcgetattr(slave, &raw);
  cfmakeraw(&raw);
  tcsetattr(slave, TCSANOW, &raw);
  // The device does not hold the port itself: with no slave open the master reports
  // a hang-up, which is how the line tells that no host is listening.
  close(slave);
  slave_path_ = name;
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

void PtyLine::Close() {
  if (master_ < 0) return;
  close(master_);
  master_ = -1;
}

void PtyLine::RequestStop() {
  [[maybe_unused]] ssize_t ignored = write(request_pipe_[1], &kStopRequest, 1);
}

void PtyLine::RequestSwap() {
  [[maybe_unused]] ssize_t ignored = write(request_pipe_[1], &kSwapRequest, 1);
}

std::optional<ServeEnd> PtyLine::TakeRequests() {
  char requests[64];
  bool swap = false;
  for (ssize_t n; (n = read(request_pipe_[0], requests, sizeof requests)) > 0;) {
    stopped_ = stopped_ || std::find(requests, requests + n, kStopRequest) != requests + n;
    swap = swap || std::find(requests, requests + n, kSwapRequest) != requests + n;
  }
  if (stopped_) return ServeEnd::Stopped;
  if (swap) return ServeEnd::Swapped;
  return std::nullopt;
}

ServeEnd PtyLine::Away(Time until) {
  for (;;) {
    if (const std::optional<ServeEnd> request = TakeRequests()) return *request;
    const Time now = Clock::now();
    if (now >= until) return ServeEnd::Until;
    pollfd control{request_pipe_[0], POLLIN, 0};
    const timespec timeout = ToTimespec(until - now);
    if (ppoll(&control, 1, &timeout, nullptr) < 0 && errno != EINTR) throw SystemError("ppoll");
  }
}

ServeEnd PtyLine::Serve(LoaderModel& loader, std::optional<Time> until) {
  if (const std::optional<ServeEnd> request = TakeRequests()) return *request;
  // What the device sends reaches the host in one piece per burst: a thread on a busy
  // machine cannot keep characters 87 us apart, and a late wake-up in the middle of a
  // reply would show the host a silence that a UART never makes (the host's reads end
  // after 1 ms of silence).
  std::deque<Scheduled> output;
  // What the host wrote, in order, with when each character has crossed the line; until
  // then it may still be lost with the host's transmit queue.
  std::deque<Crossing> input;
  std::vector<Transmission> sent;
  Time receiver_free = Clock::now();
  Time sender_free = receiver_free;
  bool host_present = false;
  char buffer[4096];

  // Hands the loader the characters that have (nearly) crossed the line by `now`.
  const auto deliver_input = [&](Time now) {
    while (!input.empty() && input.front().at <= now + kLoaderLead) {
      sent.clear();
      loader.Receive(input.front().c, input.front().at, sent);
      input.pop_front();
      for (const Transmission& t : sent) {
        sender_free = std::max(t.due, sender_free) + char_time_ * static_cast<int64_t>(t.text.size());
        adapter_.Carry(t.text, sender_free, char_time_, output);
      }
    }
  };
  // When the loader next needs the host's characters: at the end of the next frame, or
  // when the last of them has crossed.
  const auto input_due = [&]() -> std::optional<Time> {
    if (input.empty()) return std::nullopt;
    const auto frame_end = std::find_if(input.begin(), input.end(), [](const Crossing& x) { return x.c == ';'; });
    return (frame_end != input.end() ? frame_end->at : input.back().at) - kLoaderLead;
  };

  for (;;) {
    const Time now = Clock::now();
    deliver_input(now);
    // What is due leaves now; with no host on the line it is simply gone.
    std::string due;
    while (!output.empty() && output.front().due <= now) {
      due += output.front().text;
      output.pop_front();
    }
    if (!due.empty() && host_present) {
      // A host whose queue is full loses what does not fit, as on an overrun line; one
      // that went away meanwhile loses it all.
      size_t done = 0;
      while (done < due.size()) {
        const ssize_t n = write(master_, due.data() + done, due.size() - done);
        if (n > 0) done += static_cast<size_t>(n);
        else if (n == 0 || errno != EINTR) break;
      }
    }
    if (loader.HungUp() && output.empty()) {
      Close();
      return ServeEnd::HungUp;
    }
    if (output.empty() && loader.LeavesAt() && now >= *loader.LeavesAt()) return ServeEnd::Left;
    if (until && now >= *until) return ServeEnd::Until;

    // Sleep until the next reply is due, the loader needs the host's characters, input
    // arrives or a stop is requested. A master without a slave reports a hang-up at once,
    // so then only the stop pipe is watched, and the host's arrival is looked for every
    // millisecond.
    pollfd fds[2] = {{request_pipe_[0], POLLIN, 0}, {master_, POLLIN, 0}};
    std::chrono::nanoseconds wait = std::chrono::hours(1);
    if (!output.empty()) wait = output.front().due - now;
    if (const std::optional<Time> needed = input_due()) wait = std::min<std::chrono::nanoseconds>(wait, *needed - now);
    if (!host_present) wait = std::min<std::chrono::nanoseconds>(wait, std::chrono::milliseconds(1));
    if (const std::optional<Time> leaves = loader.LeavesAt()) wait = std::min<std::chrono::nanoseconds>(wait, *leaves - now);
    if (until) wait = std::min<std::chrono::nanoseconds>(wait, *until - now);
    const timespec timeout = ToTimespec(wait);
    if (ppoll(fds, host_present ? 2 : 1, &timeout, nullptr) < 0 && errno != EINTR) throw SystemError("ppoll");
    if (fds[0].revents & POLLIN) {
      if (const std::optional<ServeEnd> request = TakeRequests()) {
        deliver_input(Clock::now());  // a late wake-up must not lose what has crossed
        return *request;
      }
    }

    pollfd probe{master_, POLLIN, 0};
    poll(&probe, 1, 0);
    const bool was_present = host_present;
    host_present = !(probe.revents & POLLHUP);
    if (was_present && !host_present) {
      // The host closed the port: what had crossed reached the loader, the rest is gone.
      deliver_input(Clock::now());
      input.clear();
    }
    if (!(probe.revents & POLLIN)) continue;
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n <= 0) continue;

    const Time arrived = Clock::now();
    for (ssize_t i = 0; i < n; ++i) {
      // The characters go onto the wire one after another, whenever the host wrote them.
      receiver_free = std::max(arrived, receiver_free) + char_time_;
      input.push_back({buffer[i], receiver_free});
    }
  }
}

}  // namespace zorvan::sim
