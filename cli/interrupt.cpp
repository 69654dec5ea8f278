#include "cli/interrupt.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <string>

#include "common/exit_codes.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

// Read and written in the signal handler, which may run on any thread (on Windows on
// one of its own): only lock-free atomics and _exit are safe there.
std::atomic<int> g_writing_runs{0};
std::atomic<bool> g_stop_requested{false};
std::atomic<bool> g_loop_running{false};
std::atomic<bool> g_loop_end{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

// The note written when Ctrl+C ends the program, made in the screen's language before
// the handler is set: the handler itself may not build a string.
char g_interrupted_note[128];
size_t g_interrupted_length = 0;

void OnInterrupt(int) {
  // Windows puts the default action back before calling a handler.
  std::signal(SIGINT, OnInterrupt);
  if (g_loop_running.load() && !g_loop_end.exchange(true)) return;
  if (g_writing_runs.load() == 0 || g_stop_requested.load()) {
    [[maybe_unused]] auto ignored = write(STDERR_FILENO, g_interrupted_note, g_interrupted_length);
    _exit(kExitStopped);
  }
  g_stop_requested = true;
}

}  // namespace

void CatchInterrupt() {
  const std::string note = "\n" + Say(Msg::Interrupted) + "\n";
  g_interrupted_length = std::min(note.size(), sizeof g_interrupted_note);
  std::memcpy(g_interrupted_note, note.data(), g_interrupted_length);
  std::signal(SIGINT, OnInterrupt);
}

bool StopRequested() { return g_stop_requested; }

void WritingBegins() { ++g_writing_runs; }

void WritingEnds() { --g_writing_runs; }

void LoopBegins() { g_loop_running = true; }

void EndLoop() { g_loop_end = true; }

bool LoopEndRequested() { return g_loop_end; }

}  // namespace zorvan::cli
