// What the port's event thread costs the loader exchanges: the same command-and-reply
// exchanges over a pseudo-terminal with the event watch running and with an inert one,
// measured in one run so the ratio holds on any machine. The port is set as the main
// window sets it (smThreadSync, no handler, all time-outs 1 ms), and the GUI thread is
// served after every exchange, as the programming run lets pending messages through.
// A last pair of figures is the processor time an open, idle port takes.

#include <poll.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "serial/bcport.h"
#include "serial/queued_gui_thread.h"
#include "bench/inert_line.h"
#include "tests/support/pty_pair.h"

namespace {

using namespace zorvan;

// A device that answers every frame ending in ';' with a short reply, as the loader does.
// Given a line rate, it answers only after the frame and the reply would have taken on
// the wire, so that an exchange lasts as long as on a real line.
class AnsweringDevice {
 public:
  AnsweringDevice(testing::PtyPair& pty, int64_t bits_per_second)
      : pty_(pty), bits_per_second_(bits_per_second), thread_([this] { Answer(); }) {}
  ~AnsweringDevice() {
    stop_ = true;
    thread_.join();
  }

 private:
  void Answer() {
    while (!stop_) {
      pollfd entry{pty_.Master(), POLLIN, 0};
      if (poll(&entry, 1, 20) <= 0) continue;
      for (char c : pty_.ReadWaiting()) {
        ++bytes_;
        if (c != ';') continue;
        if (bits_per_second_ > 0) {
          std::this_thread::sleep_for(std::chrono::microseconds((bytes_ + 5) * 10'000'000 / bits_per_second_));
        }
        pty_.Write("8200;");
        bytes_ = 0;
      }
    }
  }

  testing::PtyPair& pty_;
  const int64_t bits_per_second_;
  int64_t bytes_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void SetMainWindowTimeouts(TBComPort& port) {
  TComTimeouts timeouts;
  timeouts.SetReadInterval(1);
  timeouts.SetReadTotalMultiplier(1);
  timeouts.SetReadTotalConstant(1);
  timeouts.SetWriteTotalMultiplier(1);
  timeouts.SetWriteTotalConstant(1);
  port.SetTimeouts(timeouts);
}

// state.range(0): 1 with the event watch, 0 with the inert one; state.range(1): the line
// rate the device keeps to, 0 for none.
void BM_LoaderExchanges(benchmark::State& state) {
  testing::PtyPair pty;
  AnsweringDevice device(pty, state.range(1));
  QueuedGuiThread gui;
  TBComPort port;
  port.SetPort(pty.SlavePath());
  port.SetBaudRate(br115200);
  port.SetGuiThread(gui);
  SetMainWindowTimeouts(port);
  if (state.range(0) == 0) {
    port.SetLineEventDeviceFactory(
        [](intptr_t, const TransferTally&) { return std::make_unique<InertLine>(); });
  }
  port.Open();
  // A Write command with a 64-byte chunk, framed as the loader takes it.
  const std::string frame = "w03" + std::string(128, 'A') + "5C;";
  for (auto _ : state) {
    port.WriteStr(frame);
    std::string reply, part;
    for (int attempt = 0; attempt < 1000 && (reply.empty() || reply.back() != ';'); ++attempt) {
      port.ReadStr(part, 5);
      reply += part;
    }
    if (reply != "8200;") state.SkipWithError("the reply went astray");
    gui.ServePending();
  }
  port.Close();
}
BENCHMARK(BM_LoaderExchanges)->ArgNames({"watch", "line"})
    ->ArgsProduct({{0, 1}, {0, 115200}})->Unit(benchmark::kMicrosecond)->UseRealTime();

// The processor time of the whole process while an open port sits idle for 100 ms.
// state.range(0): 1 with the event watch, 0 with the inert one.
void BM_IdleOpenPort(benchmark::State& state) {
  testing::PtyPair pty;
  QueuedGuiThread gui;
  TBComPort port;
  port.SetPort(pty.SlavePath());
  port.SetGuiThread(gui);
  if (state.range(0) == 0) {
    port.SetLineEventDeviceFactory(
        [](intptr_t, const TransferTally&) { return std::make_unique<InertLine>(); });
  }
  port.Open();
  for (auto _ : state) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  port.Close();
}
BENCHMARK(BM_IdleOpenPort)->ArgName("watch")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)
    ->MeasureProcessCPUTime()->UseRealTime()->Iterations(10);

}  // namespace
