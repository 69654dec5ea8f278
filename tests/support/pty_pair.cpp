#include "tests/support/pty_pair.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace zorvan::testing {

PtyPair::PtyPair() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  char name[128];
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
      ptsname_r(master_, name, sizeof name) != 0) {
    if (master_ >= 0) close(master_);
    throw std::runtime_error("no pseudo-terminal available");
  }
  slave_path_ = name;
}

PtyPair::~PtyPair() { CloseMaster(); }

void PtyPair::Write(const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      throw std::runtime_error("writing to the pseudo-terminal failed");
    } else {
      pollfd p{master_, POLLOUT, 0};
      poll(&p, 1, 100);
    }
  }
}

std::string PtyPair::Read(size_t count, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  std::string got;
  while (got.size() < count && std::chrono::steady_clock::now() < end) {
    got += ReadWaiting();
    if (got.size() >= count) break;
    pollfd p{master_, POLLIN, 0};
    poll(&p, 1, 20);
  }
  return got;
}

std::string PtyPair::ReadWaiting() {
  std::string got;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) {
      got.append(buffer, static_cast<size_t>(n));
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      return got;
    }
  }
}

void PtyPair::CloseMaster() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

namespace {

int EntryCount(const char* directory) {
  int count = 0;
  if (DIR* dir = opendir(directory)) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count;
}

}  // namespace

int OpenDescriptorCount() { return EntryCount("/proc/self/fd"); }

int RunningThreadCount() { return EntryCount("/proc/self/task"); }

}  // namespace zorvan::testing
