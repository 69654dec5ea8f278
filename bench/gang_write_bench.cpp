// Gang programming against one device, in one run: zorvan-flash programs the carried
// firmware into one simulated device, then into eight at once, each a 128 KiB device at
// 115200 bit/s with a real device's latencies. The devices are simulated by one
// zorvan-sim process, as separate hardware would serve them, each on its own thread.
// Reported: the gang's wall time against the single run's (the goal is at most 1.10),
// the flasher's CPU time per device, and the gang's peak memory.

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string ProgramDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string(); }

struct Finished {
  int status = -1;
  double wall_s = 0;
  double cpu_s = 0;  // user and system
  long peak_kib = 0;
};

class Child {
 public:
  Child(const std::string& program, const std::vector<std::string>& args, const std::string& out_path) {
    std::vector<std::string> text = {ProgramDir() + "/" + program};
    text.insert(text.end(), args.begin(), args.end());
    began_ = Clock::now();
    pid_ = fork();
    if (pid_ == 0) {
      const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& a : text) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  void Signal(int signal_number) const { kill(pid_, signal_number); }
  Finished Wait() {
    Finished f;
    int status = 0;
    rusage usage{};
    wait4(pid_, &status, 0, &usage);
    f.wall_s = std::chrono::duration<double>(Clock::now() - began_).count();
    f.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    f.cpu_s = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    f.peak_kib = usage.ru_maxrss;
    return f;
  }

 private:
  pid_t pid_ = -1;
  Clock::time_point began_;
};

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Programs `count` simulated devices with one zorvan-flash; false when a device's flash
// does not hold the firmware afterwards.
bool Measure(int count, const std::string& dir, Finished& flash, Finished& devices) {
  const std::string sim_out = dir + "/sim-" + std::to_string(count);
  Child sim("zorvan-sim", {"--count", std::to_string(count), "--realistic", "--verify", "-"}, sim_out);
  std::vector<std::string> ports;
  for (int i = 0; i < 400 && static_cast<int>(ports.size()) < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    ports = Lines(sim_out);
  }
  if (static_cast<int>(ports.size()) < count) return false;
  ports.resize(static_cast<size_t>(count));
  std::vector<std::string> args = {"write"};
  for (const std::string& port : ports) args.insert(args.end(), {"--port", port});
  Child flasher("zorvan-flash", args, dir + "/flash-" + std::to_string(count));
  flash = flasher.Wait();
  sim.Signal(SIGTERM);
  devices = sim.Wait();
  return flash.status == 0 && devices.status == 0;
}

}  // namespace

int main() {
  char pattern[] = "/tmp/zorvan-gang-bench-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  constexpr int kGang = 8;
  std::printf("gang programming: the carried firmware into 128 KiB devices (16 x 64 bytes x 128 blocks),\n"
              "115200 bit/s, erase 20 ms, write 1 ms, commit 3 ms; %u cores\n",
              std::thread::hardware_concurrency());
  Finished one, one_sim, gang, gang_sim;
  const bool one_ok = Measure(1, dir, one, one_sim);
  const bool gang_ok = Measure(kGang, dir, gang, gang_sim);
  std::printf("  one device     %7.1f s wall  %6.2f s CPU             peak %6ld KiB  (simulator %.2f s CPU)\n",
              one.wall_s, one.cpu_s, one.peak_kib, one_sim.cpu_s);
  std::printf("  %d devices      %7.1f s wall  %6.2f s CPU, %.2f each  peak %6ld KiB  (simulator %.2f s CPU)\n", kGang,
              gang.wall_s, gang.cpu_s, gang.cpu_s / kGang, gang.peak_kib, gang_sim.cpu_s);
  std::printf("  gang wall time / one device's: %.3f (goal at most 1.10)\n", gang.wall_s / one.wall_s);
  if (!one_ok || !gang_ok) {
    std::printf("  a run did not program every device: see %s\n", dir.c_str());
    return 1;
  }
  std::filesystem::remove_all(dir);
  return 0;
}
