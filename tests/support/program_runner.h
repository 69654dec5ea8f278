#pragma once
// Runs the programs of the build directory (zorvan-flash, zorvan-sim) as the operator
// would, for tests of the command line.

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

namespace zorvan::testing {

struct ProgramResult {
  int status = -1;  // the exit status, or 128 + the signal that ended it
  std::string out;
  std::string err;
};

// The locale a program runs in, for its screens' language: LC_ALL is set to C.UTF-8
// (Ukrainian, the operators') or en_US.UTF-8 (English), whatever the test's own.
enum class Locale { Ukrainian, English };

// A program of the build directory (ZORVAN_BUILD_DIR) in a process of its own, its
// output kept in files. It is killed when the test's process ends.
class Program {
 public:
  Program(const std::string& name, const std::vector<std::string>& args, Locale locale = Locale::Ukrainian);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Waits until the standard output holds `text` (at most `limit`); false if it never does.
  bool WaitForOutput(const std::string& text, std::chrono::seconds limit = std::chrono::seconds(30));
  std::string OutputSoFar() const;
  std::string ErrorsSoFar() const;  // its standard error so far
  int Pid() const { return pid_; }
  void Signal(int signal_number);
  // Waits for the end (at most `limit`, then kills it) and returns what it did.
  ProgramResult Finish(std::chrono::seconds limit = std::chrono::seconds(120));

 private:
  std::string dir_;
  int pid_ = -1;
};

// Writes a HEX file of `bytes` bytes from address 0, in records of 16; returns `path`.
std::string WriteHexFile(const std::string& path, int bytes);

// Runs a program to its end.
ProgramResult RunProgram(const std::string& name, const std::vector<std::string>& args,
                         Locale locale = Locale::Ukrainian);

// zorvan-sim started with `args`; its first lines of output are the ports to open, one
// per device (`count` of them, as its --count says).
class SimProcess {
 public:
  explicit SimProcess(std::vector<std::string> args, size_t count = 1);
  const std::string& PortPath() const { return ports_.front(); }
  const std::vector<std::string>& PortPaths() const { return ports_; }
  std::string OutputSoFar() const { return program_.OutputSoFar(); }
  std::string ErrorsSoFar() const { return program_.ErrorsSoFar(); }
  // Stops the device (SIGTERM) and returns what it reported.
  ProgramResult Stop() {
    program_.Signal(SIGTERM);
    return program_.Finish();
  }

 private:
  Program program_;
  std::vector<std::string> ports_;
};

}  // namespace zorvan::testing
