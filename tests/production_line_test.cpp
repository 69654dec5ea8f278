// One port of the production window's line on a thread of its own, against zorvan-sim's
// devices: each device programmed once and verified byte for byte, a port that goes with
// its device taken again when it returns, and the difference between ending a port (its
// run is finished first) and stopping it (the run is stopped as Ctrl+Delete stops it).

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "firmware/firmware_source.h"
#include "protocol/headless_surface.h"
#include "protocol/line_port.h"
#include "tests/support/program_runner.h"

namespace zorvan::testing {
namespace {

using namespace std::chrono_literals;

// What a port told, kept for the test's thread.
class RecordingObserver final : public LinePortObserver {
 public:
  void PhaseShown(CyclePhase phase, const CycleTally&, const std::string&) override {
    Note([&] { phases.push_back(phase); });
  }
  void RunPercent(int value) override {
    Note([&] { percent = value; });
  }
  bool DeviceDone(const LineRun& run) override {
    Note([&] { runs.push_back(run); });
    return true;
  }
  void PortEnded(const CycleTally& tally) override {
    Note([&] {
      ended = true;
      final_tally = tally;
    });
  }

  // Waits, generously, until `condition` holds.
  bool WaitFor(const std::function<bool()>& condition) {
    std::unique_lock lock(mutex);
    return changed_.wait_for(lock, 120s, condition);
  }

  std::mutex mutex;
  std::vector<CyclePhase> phases;
  int percent = -1;
  std::vector<LineRun> runs;
  bool ended = false;
  CycleTally final_tally;

 private:
  void Note(const std::function<void()>& change) {
    {
      std::lock_guard lock(mutex);
      change();
    }
    changed_.notify_all();
  }
  std::condition_variable changed_;
};

class ProductionLine : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-line-XXXXXX";
    dir_ = mkdtemp(pattern);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::shared_ptr<const ImageState> Image(int bytes) {
    hex_ = WriteHexFile(dir_ + "/fw.hex", bytes);
    auto image = std::make_shared<ImageState>();
    HexText text(ReadTextFile(hex_));
    HeadlessSurface quiet(std::cerr);
    EXPECT_TRUE(PrepareImage(quiet, text, *image));
    return image;
  }

  std::string dir_, hex_;
};

// The adapter goes with each device: the first passes and is taken away, the second hangs
// up in its first block and takes its port with it, the third passes and stays, and two
// more looks at it do not program it again.
TEST_F(ProductionLine, EachDeviceIsProgrammedOnceAndThePortIsTakenAgainWhenItReturns) {
  const std::string port = dir_ + "/usb-adapter";
  const auto image = Image(128);
  SimProcess sim({"--baud", "0", "--geometry", "4,16,2", "--verify", hex_, "--count", "3", "--in-turn", "--link", port,
                  "--port-leaves", "--gap", "300", "--device", "1", "--leave-after", "300", "--device", "2",
                  "--hangup-after", "6"});
  RecordingObserver observer;
  auto control = StartLinePort({port, 12, image}, observer);
  ASSERT_TRUE(observer.WaitFor([&] { return observer.runs.size() >= 3; })) << sim.ErrorsSoFar();
  std::this_thread::sleep_for(5s);
  control->End();
  ASSERT_TRUE(observer.WaitFor([&] { return observer.ended; }));
  control.reset();

  ASSERT_EQ(observer.runs.size(), 3u);
  EXPECT_EQ(observer.runs[0].result, DeviceResult::Passed);
  EXPECT_EQ(observer.runs[1].result, DeviceResult::PortLost);
  EXPECT_EQ(observer.runs[2].result, DeviceResult::Passed);
  EXPECT_EQ(observer.runs[0].description, "250101");
  EXPECT_EQ(observer.runs[0].loader_version, "02");
  EXPECT_EQ(observer.final_tally.passed, 2);
  EXPECT_EQ(observer.final_tally.failed, 1);
  const ProgramResult devices = sim.Stop();
  EXPECT_NE(devices.out.find("device 1: the flash holds " + hex_), std::string::npos) << devices.out;
  EXPECT_NE(devices.out.find("device 3: the flash holds " + hex_), std::string::npos) << devices.out;
}

// Two ports in the middle of their runs: the one ended finishes its device, the one
// stopped leaves its device partly written, and both ports end.
TEST_F(ProductionLine, AnEndedPortFinishesItsRunAndAStoppedOneStopsIt) {
  const auto image = Image(4096);
  SimProcess sim({"--baud", "0", "--geometry", "16,16,16", "--write-ms", "20", "--verify", hex_, "--count", "2"}, 2);
  RecordingObserver ended, stopped;
  auto ending = StartLinePort({sim.PortPaths()[0], 12, image}, ended);
  auto stopping = StartLinePort({sim.PortPaths()[1], 12, image}, stopped);
  ASSERT_TRUE(ended.WaitFor([&] { return ended.percent >= 25; }));
  ending->End();
  ASSERT_TRUE(stopped.WaitFor([&] { return stopped.percent >= 25; }));
  stopping->Stop();
  ASSERT_TRUE(ended.WaitFor([&] { return ended.ended; }));
  ASSERT_TRUE(stopped.WaitFor([&] { return stopped.ended; }));
  ending.reset();
  stopping.reset();

  ASSERT_EQ(ended.runs.size(), 1u);
  EXPECT_EQ(ended.runs[0].result, DeviceResult::Passed);
  EXPECT_EQ(ended.runs[0].reach.blocks_done, 16);
  ASSERT_EQ(stopped.runs.size(), 1u);
  EXPECT_EQ(stopped.runs[0].ending, RunEnding::Stopped);
  EXPECT_TRUE(stopped.runs[0].reach.erasing_begun);
  EXPECT_LT(stopped.runs[0].reach.blocks_done, 16);
  const ProgramResult devices = sim.Stop();
  EXPECT_NE(devices.out.find(sim.PortPaths()[0] + ": the flash holds " + hex_), std::string::npos) << devices.out;
  EXPECT_NE(devices.out.find(sim.PortPaths()[1] + ": the flash does not hold " + hex_), std::string::npos)
      << devices.out;
}

}  // namespace
}  // namespace zorvan::testing
