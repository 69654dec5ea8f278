#pragma once
// A pseudo-terminal pair for serial tests: the port under test opens the slave's path and
// the test plays the device on the master. Real termios, real poll, real hang-ups.

#include <chrono>
#include <string>

namespace zorvan::testing {

class PtyPair {
 public:
  PtyPair();  // throws std::runtime_error when the system has no pseudo-terminals left
  ~PtyPair();
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const std::string& SlavePath() const { return slave_path_; }
  int Master() const { return master_; }

  // Sends all of `bytes` to the port, as the device would.
  void Write(const std::string& bytes);
  // What the port sent: reads until `count` bytes have come or `limit` has passed.
  std::string Read(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Everything the port sent that is already waiting, without waiting for more.
  std::string ReadWaiting();
  // Closes the master, which hangs the port's side up.
  void CloseMaster();

 private:
  int master_ = -1;
  std::string slave_path_;
};

// The number of open file descriptors of this process.
int OpenDescriptorCount();
// The number of threads of this process.
int RunningThreadCount();

}  // namespace zorvan::testing
