// The production cycle against a scripted bench on a virtual clock: devices take a port
// that stays, each answering the cycle's looks, runs and resets as its script says, with
// no real time. What matters is the cycle's promise: every device programmed at most once
// per presence, and none shown as passed without this presence's run.

#include "protocol/production_cycle.h"

#include <gtest/gtest.h>

#include <map>

namespace zorvan {
namespace {

using Seen = LookOutcome::Seen;

// How long the station's acts take, in virtual milliseconds: a look drains the input and
// wakes the loader before it sends Identify, waits for its reply, and reads the
// description once one came.
constexpr unsigned kBeforeIdentify = 530;
constexpr unsigned kIdentify = 300;
constexpr unsigned kDescribe = 100;
constexpr unsigned kLetGo = 150;
constexpr unsigned kRun = 5000;

struct ScriptedDevice {
  std::string description = "250101";
  std::string programmed = "260313";  // what it reports once its run has passed
  DeviceResult result = DeviceResult::Passed;
  unsigned gap_before = 0;  // how long the port stays empty before it comes
  // It is taken away this long after the first reset it is sent (its run's last, or a
  // look's); never when not given.
  std::optional<unsigned> leaves_after;
};

struct Shown {
  unsigned at;
  CyclePhase phase;
  std::string detail;
  // Whether the device the cycle last looked at or programmed had passed a run in this
  // presence.
  bool device_passed;
};

class ScriptedBench : public CycleStation {
 public:
  explicit ScriptedBench(std::vector<ScriptedDevice> devices) : devices_(std::move(devices)) {
    presences_.resize(devices_.size());
  }

  // Ends the cycle at `at`; with `cut_short` a look under way then is cut short.
  void EndAt(unsigned at, bool cut_short = false) {
    end_at_ = at;
    cut_looks_short_ = cut_short;
  }
  // Looks that begin within [from, to) fail with a port error.
  void PortFailsBetween(unsigned from, unsigned to) { port_errors_.push_back({from, to}); }
  // The system has no port within [from, to): the adapter was unplugged with its device.
  void PortAwayBetween(unsigned from, unsigned to) { port_away_.push_back({from, to}); }

  bool PortPresent() override { return !Within(port_away_, now_); }

  LookOutcome Look() override {
    acts_.push_back("look");
    Expect(!port_open_, "a look began with the port held");
    if (Within(port_errors_, now_)) {
      port_open_ = true;
      return {Seen::PortError, "Помилка читання з порта"};
    }
    port_open_ = true;
    if (Ended() && cut_looks_short_) return {Seen::CutShort, {}, false};
    now_ += kBeforeIdentify;
    if (Ended() && cut_looks_short_) return {Seen::CutShort, {}, true};
    // A port that goes in the middle of a look fails under it.
    if (!PortPresent()) return {Seen::PortError, "Помилка читання з порта"};
    const std::optional<size_t> device = DeviceAt(now_);
    now_ += kIdentify;
    if (device) {
      now_ += kDescribe;
      looked_at_ = *device;
      const Presence& p = presences_[*device];
      return {Seen::Device, p.passed ? devices_[*device].programmed : devices_[*device].description};
    }
    port_open_ = false;
    looked_at_.reset();
    return {Seen::Nothing, {}};
  }

  DeviceRun Program() override {
    acts_.push_back("program");
    Expect(!Ended(), "a run began after an end was asked for");
    if (!looked_at_ || DeviceAt(now_) != looked_at_) return {DeviceResult::Gone, 0};
    const ScriptedDevice& device = devices_[*looked_at_];
    Presence& p = presences_[*looked_at_];
    ++p.runs;
    now_ += kRun;
    p.passed = device.result == DeviceResult::Passed;
    if (device.result == DeviceResult::PortLost) p.leaves = now_;  // with its adapter
    if (device.result == DeviceResult::Passed || device.result == DeviceResult::Refused) Reset(*looked_at_);
    return {device.result, kRun / 1000.0};
  }

  std::optional<std::string> LetGo() override {
    acts_.push_back("let go");
    now_ += kLetGo;
    if (looked_at_ && DeviceAt(now_) == looked_at_) Reset(*looked_at_);
    port_open_ = false;
    return std::nullopt;
  }

  void Release() override {
    acts_.push_back("release");
    port_open_ = false;
  }

  void Show(CyclePhase phase, const CycleTally& tally, const std::string& detail) override {
    shown_.push_back({now_, phase, detail, looked_at_ && presences_[*looked_at_].passed});
    tally_ = tally;
  }

  bool Wait(unsigned milliseconds) override {
    now_ += milliseconds;
    return !Ended();
  }

  bool EndRequested() override { return Ended(); }

  // How many runs each device had.
  std::vector<int> Runs() const {
    std::vector<int> runs;
    for (const Presence& p : presences_) runs.push_back(p.runs);
    return runs;
  }
  // The times at which device `index` was let go by a look.
  std::vector<unsigned> LooksAt(size_t index) const { return presences_[index].let_go; }

  unsigned now_ = 0;
  std::vector<std::string> acts_;
  std::vector<Shown> shown_;
  CycleTally tally_;
  std::vector<std::string> faults_;

 private:
  struct Presence {
    std::optional<unsigned> arrives, leaves;
    int runs = 0;
    bool passed = false;
    std::vector<unsigned> let_go;
  };
  using Windows = std::vector<std::pair<unsigned, unsigned>>;

  static bool Within(const Windows& windows, unsigned at) {
    for (const auto& [from, to] : windows) {
      if (at >= from && at < to) return true;
    }
    return false;
  }

  bool Ended() const { return end_at_ && now_ >= *end_at_; }

  void Expect(bool condition, const std::string& fault) {
    if (!condition) faults_.push_back(fault + " at " + std::to_string(now_) + " ms");
  }

  // The device on the port at `at`, if any: each comes once the one before has left and
  // its gap has passed.
  std::optional<size_t> DeviceAt(unsigned at) {
    if (Within(port_away_, at)) return std::nullopt;
    unsigned free_from = 0;
    for (size_t i = 0; i < devices_.size(); ++i) {
      Presence& p = presences_[i];
      if (!p.arrives) p.arrives = free_from + devices_[i].gap_before;
      if (at < *p.arrives) return std::nullopt;
      if (!p.leaves || at < *p.leaves) return i;
      free_from = *p.leaves;
    }
    return std::nullopt;
  }

  void Reset(size_t index) {
    Presence& p = presences_[index];
    p.let_go.push_back(now_);
    if (!p.leaves && devices_[index].leaves_after) p.leaves = now_ + *devices_[index].leaves_after;
  }

  std::vector<ScriptedDevice> devices_;
  std::vector<Presence> presences_;
  std::optional<size_t> looked_at_;
  bool port_open_ = false;
  std::optional<unsigned> end_at_;
  bool cut_looks_short_ = false;
  Windows port_errors_, port_away_;
};

// Runs the cycle on `bench` until `end_at` virtual milliseconds.
void RunUntil(ScriptedBench& bench, unsigned end_at) {
  bench.EndAt(end_at);
  ProductionCycle cycle(bench);
  cycle.Run();
  EXPECT_EQ(bench.faults_, std::vector<std::string>{});
}

// No Passed is ever shown for a device the cycle has found without its run having passed
// in this presence.
void ExpectNoPassWithoutARun(const ScriptedBench& bench) {
  for (const Shown& shown : bench.shown_) {
    if (shown.phase == CyclePhase::Passed) {
      EXPECT_TRUE(shown.device_passed) << "Passed shown at " << shown.at << " ms";
    }
  }
}

int Count(const ScriptedBench& bench, CyclePhase phase) {
  int count = 0;
  for (const Shown& shown : bench.shown_) count += shown.phase == phase;
  return count;
}

// A fixture whose adapter stays: three fresh devices swapped 1 s after each final reset,
// with no silence between them, or with 3 s of empty port; the last stays. The carried
// firmware's version, and an image that reports another version: learned, not assumed.
TEST(ProductionCycle, ProgramsEachDeviceOfAFixedAdapterBenchOnce) {
  for (const char* programmed : {"260313", "250601"}) {
    for (unsigned gap : {0u, 3000u}) {
      SCOPED_TRACE(std::string(programmed) + ", gap " + std::to_string(gap));
      ScriptedDevice swapped{.programmed = programmed, .gap_before = gap, .leaves_after = 1000};
      ScriptedDevice stays{.programmed = programmed, .gap_before = gap};
      ScriptedBench bench({swapped, swapped, stays});
      RunUntil(bench, 300000);
      EXPECT_EQ(bench.Runs(), (std::vector<int>{1, 1, 1}));
      EXPECT_EQ(bench.tally_.passed, 3);
      EXPECT_EQ(Count(bench, CyclePhase::Passed), 3);
      ExpectNoPassWithoutARun(bench);
    }
  }
}

// The swap comes as the device is reset at the end of its run: the look that follows the
// pass finds the next device, which describes itself as the first did before its run.
TEST(ProductionCycle, ASwapOverlappingTheLookAfterAPassBringsANewDevice) {
  ScriptedBench bench({ScriptedDevice{.leaves_after = 0}, ScriptedDevice{.leaves_after = 1000}, ScriptedDevice{}});
  RunUntil(bench, 120000);
  EXPECT_EQ(bench.Runs(), (std::vector<int>{1, 1, 1}));
  ExpectNoPassWithoutARun(bench);
}

// A device that stays after its pass is looked at less and less often, and never
// programmed again; a device that reports the carried firmware already is never run.
TEST(ProductionCycle, APassedDeviceThatStaysIsLookedAtLessAndLessOften) {
  ScriptedBench bench({ScriptedDevice{}});
  RunUntil(bench, 300000);
  EXPECT_EQ(bench.Runs(), std::vector<int>{1});
  const std::vector<unsigned> looks = bench.LooksAt(0);
  ASSERT_GE(looks.size(), 6u);
  std::vector<unsigned> pauses;
  for (size_t i = 2; i < looks.size(); ++i) pauses.push_back(looks[i] - looks[i - 1]);
  for (size_t i = 1; i < pauses.size(); ++i) EXPECT_GE(pauses[i], pauses[i - 1]);
  EXPECT_LE(pauses.back(), kLongestLookInterval + 2000);
  EXPECT_GE(pauses.back(), kLongestLookInterval);
  // Five minutes on the port: the run's reset, then a look every 30 s at most.
  EXPECT_LE(looks.size(), 16u);

  ScriptedBench already({ScriptedDevice{.description = "260313"}});
  RunUntil(already, 60000);
  EXPECT_EQ(already.Runs(), std::vector<int>{0});
  EXPECT_EQ(Count(already, CyclePhase::AlreadyProgrammed), 1);
  EXPECT_EQ(already.tally_.Devices(), 0);
}

// A failed or refused device is the same device until the port is seen empty, whatever
// swaps meanwhile: the port shows the failure, never a pass, and the next device is
// programmed once a look has found the port empty.
TEST(ProductionCycle, AFailedOrRefusedDeviceIsKeptUntilThePortIsSeenEmpty) {
  for (DeviceResult result : {DeviceResult::Failed, DeviceResult::Refused}) {
    const CyclePhase phase = result == DeviceResult::Failed ? CyclePhase::Failed : CyclePhase::Refused;
    ScriptedDevice bad{.result = result, .leaves_after = 10000};
    ScriptedBench emptied({bad, ScriptedDevice{.gap_before = 5000}});
    RunUntil(emptied, 120000);
    EXPECT_EQ(emptied.Runs(), (std::vector<int>{1, 1}));
    EXPECT_EQ(emptied.tally_.passed, 1);
    EXPECT_EQ(emptied.tally_.Devices(), 2);
    ExpectNoPassWithoutARun(emptied);

    ScriptedBench swapped({bad, ScriptedDevice{}});
    RunUntil(swapped, 120000);
    EXPECT_EQ(swapped.Runs(), (std::vector<int>{1, 0}));
    EXPECT_EQ(swapped.shown_.back().phase, phase);
    EXPECT_EQ(Count(swapped, CyclePhase::Passed), 0);
  }
}

// A port error in a look is shown and the port released at once; the adapter unplugged
// with its device takes the device with it, and whatever answers once the port is back
// is a new device, though it describes itself as the last did.
TEST(ProductionCycle, APortErrorReleasesThePortAndAPortThatWentBringsANewDevice) {
  ScriptedBench failing({ScriptedDevice{}});
  failing.PortFailsBetween(0, 5000);
  RunUntil(failing, 60000);
  EXPECT_EQ(failing.Runs(), std::vector<int>{1});
  ASSERT_EQ(failing.acts_.at(0), "look");
  EXPECT_EQ(failing.acts_.at(1), "release");
  EXPECT_EQ(failing.shown_.at(1).phase, CyclePhase::PortError);
  EXPECT_EQ(failing.shown_.at(1).detail, "Помилка читання з порта");
  for (size_t i = 0; i + 1 < failing.acts_.size(); ++i) {
    if (failing.acts_[i] == "program") {
      EXPECT_EQ(failing.acts_[i + 1], "release");
    }
  }

  // A run that ends with a port error lost the device with its adapter: whatever answers
  // next is a new device, though the port came back before a look found it away.
  ScriptedBench lost({ScriptedDevice{.result = DeviceResult::PortLost}, ScriptedDevice{.gap_before = 300}});
  RunUntil(lost, 60000);
  EXPECT_EQ(lost.Runs(), (std::vector<int>{1, 1}));
  EXPECT_EQ(lost.tally_.failed, 1);

  // The first device fails and stays until its adapter is unplugged at 30 s; the one
  // plugged in with the adapter at 32 s is fresh.
  ScriptedBench unplugged({ScriptedDevice{.result = DeviceResult::Failed, .leaves_after = 1000}, ScriptedDevice{}});
  unplugged.PortAwayBetween(30000, 32000);
  RunUntil(unplugged, 120000);
  EXPECT_EQ(unplugged.Runs(), (std::vector<int>{1, 1}));

  EXPECT_GE(Count(unplugged, CyclePhase::PortMissing), 1);
}

// Ctrl+C, the write button or closing the window during a look at a fresh device: the
// device is let go, and no run begins. A look cut short before it sent anything only
// releases the port.
TEST(ProductionCycle, AnEndAskedForDuringALookStartsNoRun) {
  struct Row {
    unsigned end_at;
    bool cut_short;
    std::vector<std::string> acts;
  };
  for (const Row& row : {Row{kBeforeIdentify / 2, false, {"look", "let go"}},
                         Row{kBeforeIdentify / 2, true, {"look", "let go"}}, Row{0, true, {"look", "release"}}}) {
    ScriptedBench bench({ScriptedDevice{}});
    bench.EndAt(row.end_at, row.cut_short);
    ProductionCycle cycle(bench);
    cycle.Run();
    EXPECT_EQ(bench.Runs(), std::vector<int>{0});
    EXPECT_EQ(bench.acts_, row.acts) << row.end_at << " " << row.cut_short;
    EXPECT_EQ(bench.faults_, std::vector<std::string>{});
  }
}

// An image that leaves the description as it was cannot tell a passed device from a
// fresh one: the device is written a second time, as if swapped during the look after
// its pass, but not over and over.
TEST(ProductionCycle, AnImageThatKeepsTheDescriptionWritesNoDeviceOverAndOver) {
  ScriptedBench bench({ScriptedDevice{.programmed = "250101"}});
  RunUntil(bench, 300000);
  EXPECT_LE(bench.Runs().at(0), 2);
  EXPECT_EQ(bench.shown_.back().phase, CyclePhase::Passed);
}

}  // namespace
}  // namespace zorvan
