#include "tests/pty_test_port.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "common/errors.h"

namespace zorvan::testing {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

}  // namespace

bool PtyTestPort::Open() {
  if (fd_ >= 0) return true;
  fd_ = open(path_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) throw Exception("cannot open " + path_);
  termios raw{};
  tcgetattr(fd_, &raw);
  cfmakeraw(&raw);
  tcsetattr(fd_, TCSANOW, &raw);
  return true;
}

bool PtyTestPort::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  return true;
}

int PtyTestPort::WriteStr(const std::string& text) {
  if (fd_ < 0) throw Exception("write on a closed port");
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd_, text.data() + done, text.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{fd_, POLLOUT, 0};
      poll(&p, 1, 10);
    } else if (n < 0 && errno != EINTR) {
      throw Exception("write failed");
    }
  }
  return static_cast<int>(done);
}

int PtyTestPort::ReadStr(std::string& text, int count) {
  if (fd_ < 0) throw Exception("read on a closed port");
  text.clear();
  const Clock::time_point deadline = Clock::now() + milliseconds(count + 1);
  Clock::time_point last = {};
  while (static_cast<int>(text.size()) < count) {
    const Clock::time_point now = Clock::now();
    Clock::time_point until = deadline;
    if (!text.empty()) until = std::min(until, last + milliseconds(1));
    if (now >= until) break;
    pollfd p{fd_, POLLIN, 0};
    const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(until - now).count();
    const timespec timeout{static_cast<time_t>(wait / 1'000'000'000), static_cast<long>(wait % 1'000'000'000)};
    if (ppoll(&p, 1, &timeout, nullptr) <= 0) continue;
    if ((p.revents & POLLHUP) && !(p.revents & POLLIN)) throw Exception("the line hung up");
    char buffer[2048];
    const ssize_t n = read(fd_, buffer, static_cast<size_t>(count) - text.size());
    if (n < 0 && errno == EIO) throw Exception("the line hung up");
    if (n > 0) {
      text.append(buffer, static_cast<size_t>(n));
      last = Clock::now();
    }
  }
  return static_cast<int>(text.size());
}

}  // namespace zorvan::testing
