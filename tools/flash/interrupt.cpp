#include "tools/flash/interrupt.h"

#include <unistd.h>

#include <atomic>
#include <csignal>

#include "tools/flash/exit_codes.h"

namespace zorvan::cli {

namespace {

// Read and written in the signal handler, which may run on any thread (on Windows on
// one of its own): only lock-free atomics and _exit are safe there.
std::atomic<int> g_writing_runs{0};
std::atomic<bool> g_stop_requested{false};
std::atomic<bool> g_loop_running{false};
std::atomic<bool> g_loop_end{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) {
  // Windows puts the default action back before calling a handler.
  std::signal(SIGINT, OnInterrupt);
  if (g_loop_running.load() && !g_loop_end.exchange(true)) return;
  if (g_writing_runs.load() == 0 || g_stop_requested.load()) {
    static const char kNote[] = "\nzorvan-flash: interrupted\n";
    [[maybe_unused]] auto ignored = write(STDERR_FILENO, kNote, sizeof kNote - 1);
    _exit(kExitStopped);
  }
  g_stop_requested = true;
}

}  // namespace

void CatchInterrupt() { std::signal(SIGINT, OnInterrupt); }

bool StopRequested() { return g_stop_requested; }

void WritingBegins() { ++g_writing_runs; }

void WritingEnds() { --g_writing_runs; }

void LoopBegins() { g_loop_running = true; }

void EndLoop() { g_loop_end = true; }

bool LoopEndRequested() { return g_loop_end; }

}  // namespace zorvan::cli
