// The event thread's deliveries through a stand-in device: the three delivery modes with
// their order and arguments, the error and modem-signal readings, and closing the port
// while the thread waits for the GUI thread or from inside a handler. The port itself
// opens a pseudo-terminal; only the line events come from the stand-in.

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

#include "serial/bcport.h"
#include "serial/queued_gui_thread.h"
#include "tests/support/fake_line.h"
#include "tests/support/pty_pair.h"

namespace zorvan {
namespace {

using namespace std::chrono_literals;
using testing::FakeLine;
using testing::PtyPair;
using testing::RunningThreadCount;
using Log = std::vector<std::string>;

constexpr uint32_t kAllEvents = 0x5BD;

uint32_t Bit(TComEventKind kind) { return kEventMaskBits[kind]; }

std::string ErrorsText(TComErrors errors) {
  static const char* const kNames[] = {"ceFrame", "ceRxParity", "ceOverrun", "ceBreak",
                                       "ceIO",    "ceMode",     "ceRxOver",  "ceTxFull"};
  std::string text;
  for (uint8_t e = ceFrame; e <= ceTxFull; ++e) {
    if (!errors.Contains(static_cast<TComError>(e))) continue;
    if (!text.empty()) text += ',';
    text += kNames[e];
  }
  return text;
}

// Runs `act` on a thread of its own, which then stands for the GUI thread. A deadlock
// ends the whole test program at once rather than hanging it.
template <typename Act>
void WithinTimeLimit(Act act) {
  std::packaged_task<void()> task(act);
  std::future<void> done = task.get_future();
  std::thread runner(std::move(task));
  if (done.wait_for(30s) != std::future_status::ready) {
    std::fprintf(stderr, "deadlock: the act did not end within 30 s\n");
    std::abort();
  }
  runner.join();
  done.get();
}

// The position of `act` in `acts`, or -1.
int Position(const Log& acts, const std::string& act) {
  const auto found = std::find(acts.begin(), acts.end(), act);
  return found == acts.end() ? -1 : static_cast<int>(found - acts.begin());
}

// The thread disarmed the events and discarded both queues, in this order, after the stop
// and before the port let the device go.
void ExpectReleasedInOrder(const Log& acts) {
  const int stop = Position(acts, "stop");
  const int disarm = Position(acts, "mask 0");
  const int discard = Position(acts, "discard");
  const int released = Position(acts, "released");
  EXPECT_TRUE(stop >= 0 && stop < disarm && disarm < discard && discard < released)
      << ::testing::PrintToString(acts);
  EXPECT_EQ(std::count(acts.begin(), acts.end(), "discard"), 1);
}

class EventDelivery : public ::testing::Test {
 protected:
  void Open(TSyncMethod method, TParity parity = paNone) {
    port.SetPort(pty.SlavePath());
    port.SetSyncMethod(method);
    port.SetParity(parity);
    port.SetGuiThread(gui);
    port.SetLineEventDeviceFactory(line.Factory());
    ASSERT_TRUE(port.Open());
    ASSERT_TRUE(line.WaitUntilIdle());
  }

  // Every handler records its call with its arguments.
  void AssignAllHandlers() {
    port.SetOnError([this](TBComPort& p, TComErrors e) { Record(p, "OnError " + ErrorsText(e)); });
    port.SetOnRxChar([this](TBComPort& p, int32_t n) { Record(p, "OnRxChar " + std::to_string(n)); });
    port.SetOnTxEmpty([this](TBComPort& p) { Record(p, "OnTxEmpty"); });
    port.SetOnRing([this](TBComPort& p) { Record(p, "OnRing"); });
    port.SetOnCTSChange([this](TBComPort& p, bool s) { Record(p, "OnCTSChange " + std::to_string(s)); });
    port.SetOnDSRChange([this](TBComPort& p, bool s) { Record(p, "OnDSRChange " + std::to_string(s)); });
    port.SetOnRLSDChange([this](TBComPort& p, bool s) { Record(p, "OnRLSDChange " + std::to_string(s)); });
    port.SetOnRx80Full([this](TBComPort& p) { Record(p, "OnRx80Full"); });
  }

  void Record(TBComPort& sender, std::string entry) {
    EXPECT_EQ(&sender, &port);
    std::lock_guard lock(mutex_);
    log_.push_back(std::move(entry));
    threads_.push_back(std::this_thread::get_id());
    logged_.notify_all();
  }

  Log Logged() {
    std::lock_guard lock(mutex_);
    return log_;
  }

  std::vector<std::thread::id> Threads() {
    std::lock_guard lock(mutex_);
    return threads_;
  }

  bool WaitForLog(size_t entries) {
    std::unique_lock lock(mutex_);
    return logged_.wait_for(lock, 10s, [&] { return log_.size() >= entries; });
  }

  // Serves the GUI thread's queue until `entries` have been logged.
  void ServeUntilLogged(size_t entries) {
    for (int round = 0; round < 100 && Logged().size() < entries; ++round) {
      gui.WaitForPending(100ms);
      gui.ServePending();
    }
    ASSERT_EQ(Logged().size(), entries) << ::testing::PrintToString(Logged());
  }

  PtyPair pty;
  QueuedGuiThread gui{[this](const std::exception& e) {
    std::lock_guard lock(mutex_);
    log_.push_back(std::string("shown ") + e.what());
  }};
  FakeLine line;
  std::mutex mutex_;
  std::condition_variable logged_;
  Log log_;
  std::vector<std::thread::id> threads_;
  // Declared last, so destroyed first: a port still open closes while the rest stands.
  TBComPort port;
};

const Log kEveryHandlerInOrder = {
    "OnError ceFrame,ceRxParity", "OnRxChar 7",    "OnTxEmpty",       "OnRing",
    "OnCTSChange 1",              "OnDSRChange 0", "OnRLSDChange 1", "OnRx80Full"};

TEST_F(EventDelivery, ThreadSyncRunsTheHandlersOnTheGuiThreadErrorsFirst) {
  AssignAllHandlers();
  Open(smThreadSync, paEven);
  EXPECT_EQ(line.Acts().front(), "mask 5BD");
  line.SetCommStatus(CommStatus{comm_error::kFrame | comm_error::kRxParity, 7});
  line.SetModemStatus(modem_status::kCTS | modem_status::kRLSD);
  line.Fire(kAllEvents);
  ASSERT_TRUE(gui.WaitForPending(10s));
  EXPECT_TRUE(Logged().empty());  // nothing runs until the GUI thread serves the dispatch
  EXPECT_EQ(gui.ServePending(), 1);
  EXPECT_EQ(Logged(), kEveryHandlerInOrder);
  for (std::thread::id id : Threads()) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(EventDelivery, NoSyncRunsTheHandlersOnTheEventThreadErrorsFirst) {
  AssignAllHandlers();
  Open(smNone, paOdd);
  line.SetCommStatus(CommStatus{comm_error::kFrame | comm_error::kRxParity, 7});
  line.SetModemStatus(modem_status::kCTS | modem_status::kRLSD);
  line.Fire(kAllEvents);
  ASSERT_TRUE(WaitForLog(8));
  EXPECT_EQ(Logged(), kEveryHandlerInOrder);
  for (std::thread::id id : Threads()) EXPECT_NE(id, std::this_thread::get_id());
}

TEST_F(EventDelivery, WindowSyncSendsOneNoticePerKindErrorsFirst) {
  AssignAllHandlers();
  Open(smWindowSync, paMark);
  line.SetCommStatus(CommStatus{comm_error::kFrame | comm_error::kRxParity, 7});
  line.SetModemStatus(modem_status::kCTS | modem_status::kRLSD);

  // A carrier-detect change alone: one notice, taken by the carrier-detect notification.
  line.Fire(Bit(ekRLSD));
  ASSERT_TRUE(gui.WaitForPending(10s));
  EXPECT_EQ(gui.ServePending(), 1);
  EXPECT_EQ(Logged(), Log{"OnRLSDChange 1"});

  line.Fire(kAllEvents);
  ServeUntilLogged(9);
  const Log logged = Logged();
  EXPECT_EQ(Log(logged.begin() + 1, logged.end()), kEveryHandlerInOrder);
  for (std::thread::id id : Threads()) EXPECT_EQ(id, std::this_thread::get_id());
}

TEST_F(EventDelivery, WindowSyncReleasesTheEventThreadBeforeTheHandlerRuns) {
  port.SetOnRxChar([this](TBComPort& p, int32_t n) {
    EXPECT_TRUE(line.WaitUntilIdle());  // the thread waits for the next event meanwhile
    Record(p, "OnRxChar " + std::to_string(n));
  });
  Open(smWindowSync);
  line.SetCommStatus(CommStatus{0, 3});
  line.Fire(Bit(ekRxChar));
  ServeUntilLogged(1);
  EXPECT_EQ(Logged(), Log{"OnRxChar 3"});
}

TEST_F(EventDelivery, ReadsOnlyWhatTheAssignedHandlersNeed) {
  Open(smNone);
  // No handler: the error flags and the queue count are still read (which clears the
  // flags), the modem lines are not.
  line.Fire(kAllEvents);
  ASSERT_TRUE(line.WaitUntilIdle());
  const Log acts = line.Acts();
  EXPECT_EQ(std::count(acts.begin(), acts.end(), "clear"), 2);
  EXPECT_EQ(Position(acts, "modem"), -1);
  EXPECT_TRUE(Logged().empty());
}

TEST_F(EventDelivery, NoRxCharForAnEmptyQueueAndNoParityErrorWithoutParity) {
  AssignAllHandlers();
  Open(smNone, paNone);
  line.SetCommStatus(CommStatus{comm_error::kRxParity, 0});
  line.Fire(Bit(ekRxChar) | Bit(ekError));
  ASSERT_TRUE(line.WaitUntilIdle());
  EXPECT_TRUE(Logged().empty());

  line.SetCommStatus(CommStatus{comm_error::kRxParity | comm_error::kBreak | 0x0200, 1});
  line.Fire(Bit(ekRxChar) | Bit(ekError));
  ASSERT_TRUE(WaitForLog(2));
  EXPECT_EQ(Logged(), (Log{"OnError ceBreak", "OnRxChar 1"}));
}

TEST_F(EventDelivery, AFailedWaitDeliversNothingAndTheThreadWaitsAgain) {
  AssignAllHandlers();
  Open(smNone);
  line.Fire(0);
  line.Fire(Bit(ekRing));
  ASSERT_TRUE(WaitForLog(1));
  EXPECT_EQ(Logged(), Log{"OnRing"});
}

TEST_F(EventDelivery, StatusQueriesRaiseTheirTextsWhenTheDeviceDoesNotAnswer) {
  const auto failure = [](auto query) {
    try {
      query();
      return std::string();
    } catch (const EComPort& e) {
      return e.Message();
    }
  };
  const std::string clear_failed =
      "Помилка функції ClearCommError\nНеобхідно повторно відкрити програму!";
  const std::string modem_failed =
      "Помилка функції GetCommModemStatus\nНеобхідно повторно відкрити програму!";
  // A closed port has no device to ask.
  EXPECT_EQ(failure([&] { port.RxQueueCount(); }), clear_failed);
  EXPECT_EQ(failure([&] { port.LineSignals(); }), modem_failed);

  Open(smThreadSync);
  line.SetCommStatus(CommStatus{0, 12});
  line.SetModemStatus(modem_status::kDSR | modem_status::kRing);
  EXPECT_EQ(port.RxQueueCount(), 12);
  EXPECT_EQ(port.LineSignals(), (TComLineSignals{lsDSR, lsRing}));
  line.SetCommStatus(std::nullopt);
  line.SetModemStatus(std::nullopt);
  EXPECT_EQ(failure([&] { port.RxQueueCount(); }), clear_failed);
  EXPECT_EQ(failure([&] { port.LineSignals(); }), modem_failed);
}

TEST_F(EventDelivery, CloseWhileTheThreadWaitsForTheGuiThreadEndsAndRunsNoHandler) {
  for (TSyncMethod method : {smThreadSync, smWindowSync}) {
    SCOPED_TRACE(method);
    AssignAllHandlers();
    Open(method);
    line.SetCommStatus(CommStatus{comm_error::kBreak, 5});
    line.Fire(Bit(ekRxChar) | Bit(ekError));
    ASSERT_TRUE(gui.WaitForPending(10s));  // the thread now waits for the GUI thread
    WithinTimeLimit([&] { EXPECT_TRUE(port.Close()); });
    EXPECT_FALSE(port.Connected());
    EXPECT_TRUE(Logged().empty()) << ::testing::PrintToString(Logged());
    ExpectReleasedInOrder(line.Acts());
    EXPECT_EQ(port.NotifyWindow(), nullptr);
  }
}

TEST_F(EventDelivery, AHandlerMayCloseThePortInEveryMode) {
  const int threads = RunningThreadCount();
  for (TSyncMethod method : {smThreadSync, smWindowSync, smNone}) {
    SCOPED_TRACE(method);
    port.SetOnRxChar([this](TBComPort& p, int32_t) { Record(p, p.Close() ? "closed" : "open"); });
    port.SetOnTxEmpty([this](TBComPort& p) { Record(p, "OnTxEmpty"); });
    Open(method);
    line.SetCommStatus(CommStatus{0, 1});
    line.Fire(Bit(ekRxChar) | Bit(ekTxEmpty));
    WithinTimeLimit([&] {
      if (method == smNone) {
        EXPECT_TRUE(WaitForLog(1));
      } else {
        ServeUntilLogged(1);
      }
    });
    // No notification runs on the closed port, not even the rest of the same wait's.
    EXPECT_EQ(Logged(), Log{"closed"});
    EXPECT_FALSE(port.Connected());
    ExpectReleasedInOrder(line.Acts());
    log_.clear();
  }
  // The threads left behind by their handlers end once the handlers have returned.
  for (int i = 0; i < 1000 && RunningThreadCount() > threads; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(RunningThreadCount(), threads);
}

TEST_F(EventDelivery, AHandlerErrorUnderThreadSyncEndsTheWatchSilentlyAndCloseStillCleansUp) {
  port.SetOnRxChar([this](TBComPort& p, int32_t) {
    Record(p, "OnRxChar");
    throw EComPort("boom");
  });
  Open(smThreadSync);
  line.SetCommStatus(CommStatus{0, 1});
  line.Fire(Bit(ekRxChar));
  ServeUntilLogged(1);
  line.Fire(Bit(ekRxChar));  // nobody watches any more
  WithinTimeLimit([&] { EXPECT_TRUE(port.Close()); });
  EXPECT_EQ(Logged(), Log{"OnRxChar"});  // delivered once, and nothing shown
  const Log acts = line.Acts();
  EXPECT_LT(Position(acts, "mask 0"), Position(acts, "discard"));
  EXPECT_LT(Position(acts, "discard"), Position(acts, "released"));
}

TEST_F(EventDelivery, AHandlerErrorUnderWindowSyncIsShownAndTheWatchGoesOn) {
  port.SetOnRing([this](TBComPort& p) {
    Record(p, "OnRing");
    throw EComPort(com_text::kReadFailed);
  });
  Open(smWindowSync);
  line.Fire(Bit(ekRing));
  ServeUntilLogged(2);
  line.Fire(Bit(ekRing));
  ServeUntilLogged(4);
  const std::string shown = std::string("shown ") + com_text::kReadFailed;
  EXPECT_EQ(Logged(), (Log{"OnRing", shown, "OnRing", shown}));
}

}  // namespace
}  // namespace zorvan
