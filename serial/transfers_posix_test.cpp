// WriteStr and ReadStr on pseudo-terminals: which rule ends a read, bytes of every value,
// nothing lost, and hang-ups. The machines are shared and slow: each test asserts which
// rule ended a transfer, with generous bounds, never the millisecond.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "serial/bcport.h"
#include "tests/support/pty_pair.h"

namespace zorvan {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::PtyPair;

class Transfers : public ::testing::Test {
 protected:
  void SetUp() override {
    port.SetPort(pty.SlavePath());
    port.SetBaudRate(br115200);
    ASSERT_TRUE(port.Open());
  }

  void SetTimeouts(int interval, int multiplier, int constant, int write_multiplier = 0,
                   int write_constant = 0) {
    TComTimeouts t;
    t.SetReadInterval(interval);
    t.SetReadTotalMultiplier(multiplier);
    t.SetReadTotalConstant(constant);
    t.SetWriteTotalMultiplier(write_multiplier);
    t.SetWriteTotalConstant(write_constant);
    port.SetTimeouts(t);
  }

  // Reads and tells how long the read took.
  std::chrono::milliseconds TimedRead(std::string& text, int count) {
    const auto start = Clock::now();
    port.ReadStr(text, count);
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
  }

  // Runs `act` on another thread after `delay`, as the device would.
  void Later(std::chrono::milliseconds delay, std::function<void()> act) {
    device = std::thread([delay, act] {
      std::this_thread::sleep_for(delay);
      act();
    });
  }

  void TearDown() override {
    if (device.joinable()) device.join();
  }

  PtyPair pty;
  TBComPort port;
  std::thread device;
};

std::string AllByteValues() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

TEST_F(Transfers, AReadEndsWhenTheCountHasArrivedAndTheRestStaysQueued) {
  SetTimeouts(0, 0, 20000);
  pty.Write("0123456789");
  std::string text;
  EXPECT_LT(TimedRead(text, 4), 10s);
  EXPECT_EQ(text, "0123");
  EXPECT_EQ(port.ReadStr(text, 6), 6);
  EXPECT_EQ(text, "456789");
}

TEST_F(Transfers, ZeroAndNegativeCountsEmptyTheTextAndReadNothing) {
  SetTimeouts(0, 0, 20000);
  pty.Write("abc");
  std::string text = "shared";
  const std::string other = text;
  EXPECT_EQ(port.ReadStr(text, 0), 0);
  EXPECT_EQ(text, "");
  text = "x";
  EXPECT_EQ(port.ReadStr(text, -1), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(other, "shared");
  EXPECT_EQ(port.ReadStr(text, 3), 3);
  EXPECT_EQ(text, "abc");
}

TEST_F(Transfers, TheInitialTimeoutsReturnAtOnceWithWhatIsQueued) {
  std::string text = "old";
  EXPECT_LT(TimedRead(text, 20), 5s);  // nothing queued, and no waiting for it
  EXPECT_EQ(text, "");
  pty.Write("hello");
  std::string got;
  const auto end = Clock::now() + 10s;
  while (got.size() < 5 && Clock::now() < end) {
    port.ReadStr(text, 20);
    got += text;
  }
  EXPECT_EQ(got, "hello");
}

TEST_F(Transfers, TheTotalLimitEndsAReadWhenNothingArrives) {
  SetTimeouts(0, 20, 100);  // 20 × 10 + 100 = 300 ms
  std::string text = "old";
  const auto took = TimedRead(text, 10);
  EXPECT_EQ(text, "");
  EXPECT_GE(took, 300ms);
  EXPECT_LT(took, 10s);
}

TEST_F(Transfers, TheMainWindowsTimeoutsReturnAShortReplyAsItCame) {
  SetTimeouts(1, 1, 1, 1, 1);
  std::string text;
  EXPECT_EQ(port.ReadStr(text, 20), 0);
  EXPECT_EQ(text, "");
  pty.Write(std::string("8\0;\xff", 4) + "z");
  std::this_thread::sleep_for(50ms);  // all five are queued before the read starts
  EXPECT_EQ(port.ReadStr(text, 20), 5);
  EXPECT_EQ(text, std::string("8\0;\xff", 4) + "z");
}

TEST_F(Transfers, AGapAfterTheLastByteEndsARead) {
  SetTimeouts(200, 0, 30000);
  std::atomic<Clock::rep> written{0};
  Later(100ms, [this, &written] {
    pty.Write("abc");
    written = Clock::now().time_since_epoch().count();
  });
  std::string text;
  const auto took = TimedRead(text, 10);
  const auto ended = Clock::now();
  EXPECT_EQ(text, "abc");
  // Not before the gap had passed since the bytes came, and well before the total limit.
  EXPECT_GE(ended - Clock::time_point(Clock::duration(written.load())), 200ms);
  EXPECT_LT(took, 20s);
}

TEST_F(Transfers, TheGapIsCountedFromTheLastByteNotFromTheStartOfTheRead) {
  SetTimeouts(600, 0, 60000);
  Later(0ms, [this] {
    for (char c : std::string("slowreply")) {
      std::this_thread::sleep_for(100ms);
      pty.Write(std::string(1, c));
    }
  });
  std::string text;
  port.ReadStr(text, 9);
  EXPECT_EQ(text, "slowreply");
}

TEST_F(Transfers, AReplySplitByAPauseShorterThanTheGapIsReadWhole) {
  SetTimeouts(2000, 0, 60000);
  Later(0ms, [this] {
    pty.Write("821");
    std::this_thread::sleep_for(50ms);
    pty.Write("0A;");
  });
  std::string text;
  port.ReadStr(text, 6);
  EXPECT_EQ(text, "8210A;");
}

TEST_F(Transfers, APauseLongerThanTheGapSplitsAReplyAndNothingIsLost) {
  SetTimeouts(100, 0, 60000);
  Later(0ms, [this] {
    pty.Write("821");
    std::this_thread::sleep_for(1500ms);
    pty.Write("0A;");
  });
  std::string first, second;
  port.ReadStr(first, 6);
  EXPECT_EQ(first, "821");
  port.ReadStr(second, 6);
  EXPECT_EQ(second, "0A;");
}

TEST_F(Transfers, BytesArrivingAfterATimedOutReadAreKeptForTheNextOne) {
  SetTimeouts(0, 0, 100);
  std::string text;
  EXPECT_EQ(port.ReadStr(text, 4), 0);
  pty.Write("late");
  SetTimeouts(0, 0, 20000);
  EXPECT_EQ(port.ReadStr(text, 4), 4);
  EXPECT_EQ(text, "late");
}

TEST_F(Transfers, AReadOfWhatArrivesEndsWithTheFirstBytesOrAtItsDeadline) {
  SetTimeouts(1, 1, 1);  // the port's own time-outs play no part in it
  std::string text = "old";
  EXPECT_EQ(port.ReadArrived(text, 20, Clock::now() + 200ms), 0);
  EXPECT_EQ(text, "");
  Later(100ms, [this] { pty.Write("w84"); });
  const auto start = Clock::now();
  EXPECT_EQ(port.ReadArrived(text, 2, start + 20s), 2);
  EXPECT_LT(Clock::now() - start, 10s);  // as the bytes came, not at the deadline
  EXPECT_EQ(text, "w8");
  // A deadline already passed takes what is queued, and nothing beyond the count is lost.
  EXPECT_EQ(port.ReadArrived(text, 20, Clock::time_point{}), 1);
  EXPECT_EQ(text, "4");
}

TEST_F(Transfers, EveryByteValueCrossesUnchangedBothWays) {
  SetTimeouts(0, 0, 20000, 0, 20000);
  const std::string bytes = AllByteValues();
  pty.Write(bytes);
  std::string text;
  EXPECT_EQ(port.ReadStr(text, 256), 256);
  EXPECT_EQ(text, bytes);
  EXPECT_EQ(port.WriteStr(bytes), 256);
  EXPECT_EQ(pty.Read(256), bytes);
}

TEST_F(Transfers, AnEmptyWriteSendsNothing) {
  EXPECT_EQ(port.WriteStr(""), 0);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(pty.ReadWaiting(), "");
}

TEST_F(Transfers, AWriteThatRunsOutOfTimeReportsExactlyTheBytesSent) {
  SetTimeouts(-1, 0, 0, 0, 300);
  const std::string data(4 << 20, 'w');  // far more than the terminal's queues hold
  const auto start = Clock::now();
  const int sent = port.WriteStr(data);
  EXPECT_GE(Clock::now() - start, 300ms);
  EXPECT_GT(sent, 0);
  EXPECT_LT(sent, static_cast<int>(data.size()));
  std::string arrived, chunk;
  do {
    chunk = pty.Read(data.size(), 300ms);
    arrived += chunk;
  } while (!chunk.empty());
  EXPECT_EQ(arrived.size(), static_cast<size_t>(sent));
}

TEST_F(Transfers, AHangUpDuringAReadRaisesTheReadText) {
  SetTimeouts(0, 0, 0);  // no limit: only the hang-up can end it
  Later(200ms, [this] { pty.CloseMaster(); });
  std::string text;
  try {
    port.ReadStr(text, 10);
    ADD_FAILURE() << "the read outlived the hang-up";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка читання з порта\nНеобхідно повторно відкрити програму!");
  }
}

TEST_F(Transfers, AHangUpAfterSomeBytesRaisesTheReadText) {
  SetTimeouts(0, 0, 0);
  Later(100ms, [this] {
    pty.Write("82");
    std::this_thread::sleep_for(200ms);
    pty.CloseMaster();
  });
  std::string text;
  EXPECT_THROW(port.ReadStr(text, 10), EComPort);
}

TEST_F(Transfers, AHangUpDuringAWriteRaisesTheWriteText) {
  SetTimeouts(-1, 0, 0, 0, 0);  // no write limit: only the hang-up can end it
  Later(300ms, [this] { pty.CloseMaster(); });
  try {
    port.WriteStr(std::string(4 << 20, 'w'));
    ADD_FAILURE() << "the write outlived the hang-up";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка запису в порт.\nНеобхідно повторно відкрити програму!");
  }
}

}  // namespace
}  // namespace zorvan
