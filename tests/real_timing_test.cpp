// The protocol at its own timing: all five time-outs 1 ms and the pauses waited for,
// against devices that take as long as real ones, through USB adapters that hold their
// replies back, and at a line rate slow enough for the last frame to be still leaving
// when the port closes. The outcomes are asserted, never the timings.

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "common/errors.h"
#include "protocol/exchanges.h"
#include "protocol/loader_port.h"
#include "protocol/programming_run.h"
#include "protocol/reset_command.h"
#include "tests/support/flasher_harness.h"
#include "tests/support/pty_pair.h"

namespace zorvan::testing {
namespace {

sim::LoaderConfig Realistic(sim::LoaderConfig c) {
  c.erase_ms = 20;
  c.write_ms = 1;
  c.commit_ms = 3;
  c.answer_ms = 1;
  return c;
}

TEST(RealTiming, AWriteAtTheWindowsTimeOutsCompletesAgainstADeviceOfRealLatencies) {
  FlasherHarness h(Realistic(SmallDevice(8, 64, 3)), 115200);
  h.UseRealTiming();
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  EXPECT_EQ(h.FlashDigits(), h.state.ImageText);
}

// Through an adapter at its factory setting, with every kind of fault the device can put
// into its replies: a reply read by a later exchange than its own must never make a step
// pass that the device did not do. A run may run out of its budget; one that completes
// has put every byte where it belongs.
TEST(RealTiming, BehindASlowAdapterWithFaultyRepliesNoRunCompletesWithoutEveryByte) {
  int completed = 0;
  for (uint64_t seed = 1; seed <= 5; ++seed) {
    sim::LoaderConfig c = Realistic(SmallDevice(2, 16, 3));
    c.seed = seed;
    for (const char* fault : {"drop=0.05", "late=0.05", "late:30=0.05", "split:20=0.05", "corrupt=0.05",
                              "noise=0.05", "cut=0.05"}) {
      c.faults.AddRate(fault);
    }
    FlasherHarness h(c, 115200, 16);
    h.UseRealTiming();
    // A spoilt description ends the run before anything is erased, in the version gate
    // or in its conversion error; that is no success either.
    RunEnding ending = RunEnding::Refused;
    try {
      ending = ButtonWriteClick(h.flasher);
    } catch (const EConvertError&) {
    }
    if (ending == RunEnding::Completed) {
      ++completed;
      EXPECT_EQ(h.FlashDigits(), h.state.ImageText) << "seed " << seed;
    }
  }
  EXPECT_GT(completed, 0);  // otherwise nothing above was put to the test
}

// Every reply, the identification's included, comes late after the device has done its
// work. 30 ms fits the first deadlines; 60 ms does not, and the pause of each kind grows
// until its replies fit, after which its steps pass at their first attempt.
TEST(RealTiming, ARunCompletesAgainstADeviceWhoseRepliesAreAllLate) {
  constexpr int kBlocks = 30;  // an erase, a write and a commit each
  for (const char* late : {"late:30=1", "late:60=1"}) {
    sim::LoaderConfig c = Realistic(SmallDevice(1, 16, kBlocks));
    c.faults.AddRate(late);
    FlasherHarness h(c, 115200);
    h.UseRealTiming();
    EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed) << late;
    EXPECT_EQ(h.FlashDigits(), h.state.ImageText) << late;
    int pauses[3] = {};
    ASSERT_EQ(std::sscanf(h.surface.calibration.c_str(), "Автокалібровка: %d.%d.%d", &pauses[0], &pauses[1], &pauses[2]), 3);
    for (int failures_of_a_kind : pauses) EXPECT_LT(failures_of_a_kind, kBlocks) << h.surface.calibration;
  }
}

// The port, state and surface of the loader's procedures on a line of the test's own.
struct Line {
  explicit Line(const std::string& path, TBaudRate rate = br115200) {
    ApplyLoaderPortSettings(port);
    port.SetPort(path);
    port.SetBaudRate(rate);
    surface.port_name = path;
    surface.baud_rate_index = rate;
    surface.record_sleeps = true;
  }
  TBComPort port;
  RecordingSurface surface;
  FlasherState state;
  Flasher flasher{state, surface, port};
};

TEST(RealTiming, DrainInputReadsTwiceAndThrowsAwayWhatWasQueued) {
  PtyPair pty;
  Line line(pty.SlavePath());
  ASSERT_TRUE(line.port.Open());
  std::string queued;
  for (int i = 0; i < 300; ++i) queued += static_cast<char>('A' + i % 26);
  pty.Write(queued);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));

  DrainInput(line.flasher);
  EXPECT_EQ(line.state.IdentText, queued.substr(140, 140));  // what the second read took
  std::string rest;
  line.port.ReadStr(rest, 100);
  EXPECT_EQ(rest, queued.substr(280));  // beyond two reads, left for the next
  EXPECT_EQ(pty.ReadWaiting(), "");     // nothing written
  EXPECT_TRUE(line.surface.ActsStartingWith("sleep").empty());
}

TEST(RealTiming, TheResetSequencesPauseLetsTheFirstReplyBeReadAndTheSecondIsLeftQueued) {
  sim::LoaderConfig c = SmallDevice();
  c.answer_ms = 60;  // well inside the 100 ms pause, well after the second read's window
  sim::SimThread device(c, 115200);
  Line line(device.PortPath());
  ASSERT_TRUE(line.port.Open());

  ResetSequence(line.flasher);
  EXPECT_EQ(line.surface.ActsStartingWith("sleep"), std::vector<std::string>{"sleep 100"});
  EXPECT_EQ(line.surface.beeps, std::vector<unsigned>{MB_ICONEXCLAMATION});
  EXPECT_EQ(line.state.ReplyText, "");  // the second read came at once, before the answer
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::string queued;
  line.port.ReadStr(queued, 40);
  EXPECT_EQ(queued, "w8181;");  // only the second reply: the first was read after the pause
  line.port.Close();
  EXPECT_EQ(device.Device().Frames(), (std::vector<std::string>{"w0101;", "w0101;"}));
}

TEST(RealTiming, AtTwelveHundredBitsTheLastResetHasLeftBeforeThePortCloses) {
  // Six characters take 50 ms at 1200 bit/s, far longer than the reply read that follows
  // the second reset; what is still leaving when the port closes would be lost with it.
  sim::SimThread device(SmallDevice(), 1200);
  Line line(device.PortPath(), br1200);
  ResetDevice(line.flasher);
  EXPECT_EQ(line.surface.messages, std::vector<std::string>{"Скинуто прилад!!!"});
  EXPECT_EQ(device.Device().Frames(), (std::vector<std::string>{"w0101;", "w0101;"}));
}

TEST(RealTiming, OnALineFasterThanItsRateTheCloseAfterTheDevicesAnswerDoesNotWaitForTheRate) {
  // A native USB device or a network bridge takes the characters far faster than the
  // rate it was set to: ten frames that would take five seconds at 1200 bit/s are taken,
  // and answered, at once. Once the answer is in, nothing is left to leave.
  PtyPair pty;
  Line line(pty.SlavePath(), br1200);
  ASSERT_TRUE(line.port.Open());
  const std::string frame = "w05" + std::string(54, 'F') + "01;";
  for (int i = 0; i < 10; ++i) line.port.WriteStr(frame);
  EXPECT_EQ(pty.Read(10 * frame.size()).size(), 10 * frame.size());
  pty.Write("w8585;");
  std::string reply;
  for (int i = 0; i < 100 && reply.empty(); ++i) line.port.ReadStr(reply, 20);
  ASSERT_EQ(reply, "w8585;");
  const auto closing = std::chrono::steady_clock::now();
  EXPECT_TRUE(line.port.Close());
  EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::milliseconds(2500));
}

}  // namespace
}  // namespace zorvan::testing
