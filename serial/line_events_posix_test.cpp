// The Linux event watch on pseudo-terminals: received characters reported without being
// read and every byte left for ReadStr, transmit-empty after a write, the clean-up on closing, no busy waiting, and no
// descriptor or thread left behind. A pseudo-terminal has no modem lines and no error
// counters, so those kinds are covered through the stand-in device elsewhere.

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "serial/bcport.h"
#include "serial/queued_gui_thread.h"
#include "tests/support/pty_pair.h"

namespace zorvan {
namespace {

using namespace std::chrono_literals;
using testing::OpenDescriptorCount;
using testing::PtyPair;
using testing::RunningThreadCount;

// The processor time this process has used so far.
std::chrono::microseconds ProcessorTime() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// The processor time used while the process sits idle for half a second. A thread that
// waited busily would take about all of it.
std::chrono::microseconds ProcessorTimeWhileIdle() {
  const auto before = ProcessorTime();
  std::this_thread::sleep_for(500ms);
  return ProcessorTime() - before;
}

template <typename Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 1000; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return condition();
}

class LineEventsOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    port.SetPort(pty.SlavePath());
    port.SetGuiThread(gui);
    port.SetSyncMethod(smNone);
  }

  void Record(std::string entry) {
    std::lock_guard lock(mutex_);
    log_.push_back(std::move(entry));
  }

  std::vector<std::string> Logged() {
    std::lock_guard lock(mutex_);
    return log_;
  }

  bool Logged(const std::string& entry) {
    return Eventually([&] {
      const auto log = Logged();
      return std::find(log.begin(), log.end(), entry) != log.end();
    });
  }

  PtyPair pty;
  QueuedGuiThread gui;
  std::mutex mutex_;
  std::vector<std::string> log_;
  TBComPort port;
};

TEST_F(LineEventsOnPty, ReceivedCharactersAreReportedAndLeftForReadStr) {
  port.SetOnRxChar([this](TBComPort&, int32_t count) { Record("rx " + std::to_string(count)); });
  ASSERT_TRUE(port.Open());
  pty.Write(std::string("he\0lo", 5));
  EXPECT_TRUE(Logged("rx 5"));
  std::string text;
  EXPECT_EQ(port.ReadStr(text, 10), 5);
  EXPECT_EQ(text, std::string("he\0lo", 5));
}

TEST_F(LineEventsOnPty, BytesArrivingWhileEarlierOnesAreReadAreReported) {
  // The handler reads what has come and, the first time, has one more byte arrive
  // before it returns: the queue then holds fewer bytes than at the last event, and only
  // the tally of what the reads took tells that something new has come.
  std::string received;
  bool answered = false;
  port.SetOnRxChar([&](TBComPort& p, int32_t) {
    std::string text;
    p.ReadStr(text, 100);
    Record(text);
    if (answered) return;
    answered = true;
    pty.Write("c");
    Eventually([&] { return p.RxQueueCount() == 1; });
  });
  ASSERT_TRUE(port.Open());
  pty.Write("ab");
  EXPECT_TRUE(Eventually([&] {
    std::string all;
    for (const std::string& part : Logged()) all += part;
    return all == "abc";
  })) << ::testing::PrintToString(Logged());
}

TEST_F(LineEventsOnPty, ReadStrGetsEveryByteWhileTheWatchRuns) {
  // Whether the handler runs at all depends on the race between the watch and this fast
  // reader (an arrival found with the queue already emptied calls no handler); what must
  // never happen is the watch taking or losing a byte that ReadStr is owed.
  port.SetOnRxChar([&](TBComPort&, int32_t) {});
  TComTimeouts timeouts;
  timeouts.SetReadInterval(200);
  timeouts.SetReadTotalConstant(5000);
  port.SetTimeouts(timeouts);
  ASSERT_TRUE(port.Open());
  std::string sent;
  for (int i = 0; i < 256 * 1024; ++i) sent += static_cast<char>(i * 7 + i / 256);
  std::thread device([&] {
    for (size_t at = 0; at < sent.size(); at += 1000) pty.Write(sent.substr(at, 1000));
  });
  std::string received, part;
  while (received.size() < sent.size() && port.ReadStr(part, 4096) > 0) received += part;
  device.join();
  EXPECT_TRUE(received == sent) << received.size() << " of " << sent.size() << " bytes";
}

TEST_F(LineEventsOnPty, TransmitEmptyFollowsAWrite) {
  port.SetOnTxEmpty([this](TBComPort&) { Record("tx empty"); });
  ASSERT_TRUE(port.Open());
  EXPECT_EQ(port.WriteStr("ping"), 4);
  EXPECT_TRUE(Logged("tx empty"));
  EXPECT_EQ(pty.Read(4), "ping");
}

TEST_F(LineEventsOnPty, ClosingDiscardsWhatWaitsInTheReceiveQueue) {
  // A descriptor of the test's own keeps the terminal, and its queue, after the port
  // lets go of it.
  const int own = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(own, 0);
  ASSERT_TRUE(port.Open());
  pty.Write("unread");
  int waiting = 0;
  EXPECT_TRUE(Eventually([&] { return ioctl(own, FIONREAD, &waiting) == 0 && waiting == 6; }));
  EXPECT_TRUE(port.Close());
  EXPECT_EQ(ioctl(own, FIONREAD, &waiting), 0);
  EXPECT_EQ(waiting, 0);
  close(own);
}

TEST_F(LineEventsOnPty, TheWatchDoesNotWaitBusilyOnUnreadBytesNorAfterAHangUp) {
  port.SetOnRxChar([this](TBComPort&, int32_t count) { Record("rx " + std::to_string(count)); });
  ASSERT_TRUE(port.Open());
  pty.Write("nobody reads this");
  EXPECT_TRUE(Logged("rx 17"));
  EXPECT_LT(ProcessorTimeWhileIdle(), 250ms);
  EXPECT_EQ(Logged().size(), 1u);  // the same bytes are not reported again

  pty.CloseMaster();
  EXPECT_LT(ProcessorTimeWhileIdle(), 250ms);
}

TEST_F(LineEventsOnPty, ManyOpeningsLeaveNoDescriptorOrThreadBehind) {
  const int descriptors = OpenDescriptorCount();
  const int threads = RunningThreadCount();
  port.SetOnRxChar([](TBComPort&, int32_t) {});
  for (int cycle = 0; cycle < 150; ++cycle) {
    port.SetSyncMethod(static_cast<TSyncMethod>(cycle % 3));
    ASSERT_TRUE(port.Open());
    if (cycle % 10 == 0) {
      pty.Write("x");
      port.WriteStr("y");
    }
    ASSERT_TRUE(port.Close());
    gui.ServePending();
  }
  EXPECT_EQ(OpenDescriptorCount(), descriptors);
  EXPECT_EQ(RunningThreadCount(), threads);
}

}  // namespace
}  // namespace zorvan
