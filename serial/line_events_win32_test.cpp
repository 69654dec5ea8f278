// The Win32 event thread on a null-modem pair of COM ports: received characters reported
// and left for ReadStr, no busy waiting where the driver cannot wait for events, and no
// handle left behind.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "serial/bcport.h"
#include "serial/queued_gui_thread.h"
#include "tests/support/com_pair_win32.h"

namespace zorvan {
namespace {

using namespace std::chrono_literals;
using testing::TestComPair;

// The processor time this process has used so far.
std::chrono::microseconds ProcessorTime() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return std::chrono::microseconds((ticks(kernel) + ticks(user)) / 10);  // 100 ns ticks
}

// The processor time used while the process sits idle for half a second. A thread that
// waited busily would take about all of it.
std::chrono::microseconds ProcessorTimeWhileIdle() {
  const auto before = ProcessorTime();
  std::this_thread::sleep_for(500ms);
  return ProcessorTime() - before;
}

// Whether the port's driver can wait for the line events a port watches. Wine's port on
// a pseudo-terminal cannot: to watch the modem lines its WaitCommEvent asks for them,
// which a pseudo-terminal lacks, and fails at once.
bool DriverWaitsForEvents(const std::string& port) {
  const HANDLE h = CreateFileA(("\\\\.\\" + port).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  OVERLAPPED wait{};
  wait.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD mask = 0;
  SetCommMask(h, EventKindsToMask(kAllEventKinds));
  const bool started = WaitCommEvent(h, &mask, &wait) || GetLastError() == ERROR_IO_PENDING;
  if (started) {
    SetCommMask(h, 0);
    CancelIoEx(h, &wait);
    DWORD ignored = 0;
    GetOverlappedResult(h, &wait, &ignored, TRUE);
  }
  CloseHandle(wait.hEvent);
  CloseHandle(h);
  return started;
}

class LineEventsOnComPair : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto pair = TestComPair();
    if (!pair) GTEST_SKIP() << testing::kNoComPair;
    far_end_.SetPort(pair->first);
    ASSERT_TRUE(far_end_.Open());
    port_name_ = pair->second;
    port.SetPort(port_name_);
    port.SetGuiThread(gui);
    port.SetSyncMethod(smNone);
  }

  void Record(std::string entry) {
    std::lock_guard lock(mutex_);
    log_.push_back(std::move(entry));
  }

  bool Logged(const std::string& entry) {
    for (int i = 0; i < 1000; ++i) {
      {
        std::lock_guard lock(mutex_);
        if (std::find(log_.begin(), log_.end(), entry) != log_.end()) return true;
      }
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  std::string port_name_;
  TBComPort far_end_;
  QueuedGuiThread gui;
  std::mutex mutex_;
  std::vector<std::string> log_;
  TBComPort port;
};

TEST_F(LineEventsOnComPair, ReceivedCharactersAreReportedAndLeftForReadStr) {
  if (!DriverWaitsForEvents(port_name_)) {
    GTEST_SKIP() << "the driver of " << port_name_
                 << " cannot wait for line events (Wine's port on a pseudo-terminal fails "
                    "WaitCommEvent at once, having no modem lines)";
  }
  port.SetOnRxChar([this](TBComPort&, int32_t count) { Record("rx " + std::to_string(count)); });
  ASSERT_TRUE(port.Open());
  ASSERT_EQ(far_end_.WriteStr(std::string("he\0lo", 5)), 5);
  EXPECT_TRUE(Logged("rx 5"));
  std::string text;
  EXPECT_EQ(port.ReadStr(text, 10), 5);
  EXPECT_EQ(text, std::string("he\0lo", 5));
}

TEST_F(LineEventsOnComPair, AnOpenPortWaitsWithoutBusyLooping) {
  port.SetOnRxChar([this](TBComPort&, int32_t count) { Record("rx " + std::to_string(count)); });
  ASSERT_TRUE(port.Open());
  EXPECT_LT(ProcessorTimeWhileIdle(), 250ms);
  ASSERT_EQ(far_end_.WriteStr("nobody reads this"), 17);
  EXPECT_LT(ProcessorTimeWhileIdle(), 250ms);
  ASSERT_TRUE(port.Close());
}

TEST_F(LineEventsOnComPair, ManyOpeningsLeaveNoHandleBehind) {
  port.SetOnRxChar([](TBComPort&, int32_t) {});
  ASSERT_TRUE(port.Open());  // the first opening's one-time costs are not counted
  ASSERT_TRUE(port.Close());
  gui.ServePending();
  DWORD before = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
  for (int cycle = 0; cycle < 60; ++cycle) {
    port.SetSyncMethod(static_cast<TSyncMethod>(cycle % 3));
    ASSERT_TRUE(port.Open());
    if (cycle % 10 == 0) {
      far_end_.WriteStr("x");
      port.WriteStr("y");
    }
    ASSERT_TRUE(port.Close());
    gui.ServePending();
  }
  DWORD after = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace zorvan
