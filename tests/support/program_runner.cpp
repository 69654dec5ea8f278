#include "tests/support/program_runner.h"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "common/conversions.h"

namespace zorvan::testing {

namespace {

std::string BuildDir() {
  const char* dir = std::getenv("ZORVAN_BUILD_DIR");
  return dir ? dir : ".";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

Program::Program(const std::string& name, const std::vector<std::string>& args, Locale locale) {
  char pattern[] = "/tmp/zorvan-program-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  const std::string path = BuildDir() + "/" + name;
  std::vector<std::string> argv_text = {path};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  const std::string out = dir_ + "/out", err = dir_ + "/err";
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(o, STDOUT_FILENO);
    dup2(e, STDERR_FILENO);
    setenv("LC_ALL", locale == Locale::English ? "en_US.UTF-8" : "C.UTF-8", 1);
    std::vector<char*> argv;
    for (std::string& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(path.c_str(), argv.data());
    _exit(127);
  }
}

Program::~Program() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

bool Program::WaitForOutput(const std::string& text, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (ReadFile(dir_ + "/out").find(text) != std::string::npos) return true;
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) != 0) return ReadFile(dir_ + "/out").find(text) != std::string::npos;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

void Program::Signal(int signal_number) {
  if (pid_ > 0) kill(pid_, signal_number);
}

ProgramResult Program::Finish(std::chrono::seconds limit) {
  ProgramResult result;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadFile(dir_ + "/out");
  result.err = ReadFile(dir_ + "/err");
  return result;
}

std::string WriteHexFile(const std::string& path, int bytes) {
  std::ofstream out(path);
  for (int address = 0; address < bytes; address += 16) {
    std::string record = "10" + IntToHex(address, 4) + "00";
    int sum = 0x10 + (address >> 8) + (address & 0xFF);
    for (int i = 0; i < 16; ++i) {
      const int value = (address + i) * 5 % 256;
      record += IntToHex(value, 2);
      sum += value;
    }
    out << ":" << record << IntToHex((0x100 - sum % 256) % 256, 2) << "\n";
  }
  out << ":00000001FF\n";
  return path;
}

ProgramResult RunProgram(const std::string& name, const std::vector<std::string>& args, Locale locale) {
  return Program(name, args, locale).Finish();
}

std::string Program::OutputSoFar() const { return ReadFile(dir_ + "/out"); }

std::string Program::ErrorsSoFar() const { return ReadFile(dir_ + "/err"); }

SimProcess::SimProcess(std::vector<std::string> args, size_t count) : program_("zorvan-sim", args) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  std::string out;
  while (std::count(out.begin(), out.end(), '\n') < static_cast<std::ptrdiff_t>(count)) {
    if (std::chrono::steady_clock::now() >= deadline) throw std::runtime_error("zorvan-sim did not start");
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    out = program_.OutputSoFar();
  }
  std::istringstream lines(out);
  for (std::string line; ports_.size() < count && std::getline(lines, line);) ports_.push_back(line);
}

}  // namespace zorvan::testing
