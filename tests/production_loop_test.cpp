// zorvan-flash write --loop against zorvan-sim's devices that come and go on a port: each
// device is programmed once and verified byte for byte, whatever befalls one is counted
// and recorded, a port that goes away ends nothing, and only Ctrl+C ends the loop.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "firmware/firmware_source.h"
#include "tests/support/program_runner.h"
#include "records/run_record.h"

namespace zorvan::testing {
namespace {

using namespace std::chrono_literals;

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ProductionLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-loop-XXXXXX";
    dir_ = mkdtemp(pattern);
    hex_ = WriteHexFile(dir_ + "/fw.hex", 128);
    record_ = dir_ + "/runs.jsonl";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Quick devices of two blocks of four 16-byte chunks, compared with the HEX file at the end.
  std::vector<std::string> Devices(std::vector<std::string> more) const {
    std::vector<std::string> args = {"--baud", "0", "--geometry", "4,16,2", "--verify", hex_};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  std::vector<std::string> Loop(const std::vector<std::string>& ports) const {
    std::vector<std::string> args = {"write", "--loop", "--hex", hex_, "--record", record_};
    for (const std::string& port : ports) args.insert(args.end(), {"--port", port});
    return args;
  }

  std::vector<RunRecord> Records() const {
    return std::filesystem::exists(record_) ? ParseRecords(ReadTextFile(record_)) : std::vector<RunRecord>{};
  }

  // Waits until `enough` says the records suffice; false when they never do.
  bool WaitForRecords(const std::function<bool(const std::vector<RunRecord>&)>& enough) const {
    for (const auto deadline = std::chrono::steady_clock::now() + 120s; std::chrono::steady_clock::now() < deadline;) {
      if (enough(Records())) return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  std::string dir_, hex_, record_;
};

// The adapter goes with each device: the first passes and is taken away, the second
// hangs up in its first block and takes its port with it, the third passes and stays.
TEST_F(ProductionLoop, ProgramsThreeSuccessiveDevicesOnOnePortOnceEach) {
  const std::string port = dir_ + "/usb-adapter";
  SimProcess sim(Devices({"--count", "3", "--in-turn", "--link", port, "--port-leaves", "--gap", "300", "--device",
                          "1", "--leave-after", "300", "--device", "2", "--hangup-after", "6"}));
  Program flash("zorvan-flash", Loop({port}), Locale::English);
  ASSERT_TRUE(WaitForRecords([](const auto& records) { return records.size() >= 3; })) << flash.OutputSoFar();
  // The third device stays: two more looks at it must not program it again.
  std::this_thread::sleep_for(5s);
  flash.Signal(SIGINT);
  const ProgramResult result = flash.Finish();
  EXPECT_EQ(result.status, 13) << result.out << result.err;

  const std::vector<RunRecord> records = Records();
  ASSERT_EQ(records.size(), 3u);
  const int statuses[] = {0, 3, 0};
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].port, port);
    EXPECT_EQ(records[i].description, "250101");
    EXPECT_EQ(records[i].exit_status, statuses[i]) << records[i].result;
    EXPECT_FALSE(records[i].forced);
  }
  EXPECT_EQ(Count(result.out, port + ": passed "), 2u) << result.out;
  EXPECT_EQ(Count(result.out, port + ": FAILED "), 1u) << result.out;
  EXPECT_NE(result.out.find("the loop has ended: passed 2  failed 1  refused 0  0:"), std::string::npos) << result.out;

  const ProgramResult devices = sim.Stop();
  EXPECT_NE(devices.out.find("zorvan-sim: device 1: the flash holds " + hex_ + ", all 128 bytes\n"), std::string::npos)
      << devices.out;
  EXPECT_NE(devices.out.find("zorvan-sim: device 2: the flash does not hold "), std::string::npos) << devices.out;
  EXPECT_NE(devices.out.find("zorvan-sim: device 3: the flash holds " + hex_ + ", all 128 bytes\n"), std::string::npos)
      << devices.out;
}

// A fixture whose adapter stays, as a bench with pogo pins or a clamp has it: three fresh
// devices swapped on the same port 1 s after each final reset, with no silence between
// them, and again with 3 s of empty port between them; the last stays. Every one is
// programmed once, recorded and verified byte for byte. The second bench's image reports
// another version than the carried firmware's once written: the loop learns it.
TEST_F(ProductionLoop, ProgramsEveryDeviceOfAFixedAdapterBenchOnce) {
  struct Bench {
    const char* gap;
    const char* programmed;
  };
  for (const Bench& bench : {Bench{"0", "260313"}, Bench{"3000", "250601"}}) {
    SCOPED_TRACE(std::string("gap ") + bench.gap);
    std::filesystem::remove(record_);
    const std::string port = dir_ + "/fixture";
    SimProcess sim(Devices({"--count", "3", "--in-turn", "--link", port, "--gap", bench.gap, "--programmed",
                            bench.programmed, "--device", "1", "--leave-after", "1000", "--device", "2",
                            "--leave-after", "1000"}));
    Program flash("zorvan-flash", Loop({port}), Locale::English);
    ASSERT_TRUE(WaitForRecords([](const auto& records) { return records.size() >= 3; })) << flash.OutputSoFar();
    // The third device stays: the looks at it must not program it again.
    std::this_thread::sleep_for(8s);
    flash.Signal(SIGINT);
    const ProgramResult result = flash.Finish();
    EXPECT_EQ(result.status, 0) << result.out << result.err;

    const std::vector<RunRecord> records = Records();
    ASSERT_EQ(records.size(), 3u) << result.out;
    for (const RunRecord& r : records) {
      EXPECT_EQ(r.description, "250101");
      EXPECT_EQ(r.exit_status, 0) << r.result;
    }
    EXPECT_EQ(Count(result.out, port + ": passed "), 3u) << result.out;
    const ProgramResult devices = sim.Stop();
    EXPECT_EQ(devices.status, 0) << devices.out;
    for (const char* device : {"1", "2", "3"}) {
      EXPECT_NE(devices.out.find("zorvan-sim: device " + std::string(device) + ": the flash holds " + hex_ +
                                 ", all 128 bytes\n"),
                std::string::npos)
          << devices.out;
    }
  }
}

// Two benches at once, devices coming and going on each: on the first the adapter goes
// with its device, on the second it stays and only the looks see the port empty.
TEST_F(ProductionLoop, LoopsOnTwoPortsAtOnce) {
  const std::string adapter = dir_ + "/usb-adapter";
  SimProcess sim(Devices({"--count", "2", "--leave-after", "300", "--device", "1", "--link", adapter,
                          "--port-leaves", "--gap", "300", "--device", "2", "--gap", "5000"}),
                 2);
  const std::string uart = sim.PortPaths()[1];
  Program flash("zorvan-flash", Loop({adapter, uart}), Locale::English);
  ASSERT_TRUE(WaitForRecords([&](const auto& records) {
    std::map<std::string, int> per_port;
    for (const RunRecord& r : records) ++per_port[r.port];
    return per_port[adapter] >= 2 && per_port[uart] >= 2;
  })) << flash.OutputSoFar();
  flash.Signal(SIGINT);
  const ProgramResult result = flash.Finish();
  EXPECT_EQ(result.status, 0) << result.out << result.err;

  const std::vector<RunRecord> records = Records();
  for (const RunRecord& r : records) EXPECT_EQ(r.exit_status, 0) << r.port << ": " << r.result;
  EXPECT_NE(result.out.find("the loop has ended: passed " + std::to_string(records.size()) + "  failed 0  refused 0"),
            std::string::npos)
      << result.out;
  // Every device written holds the firmware; none was written without a record.
  const ProgramResult devices = sim.Stop();
  EXPECT_EQ(devices.status, 0) << devices.out;
  EXPECT_EQ(Count(devices.out, ": the flash holds " + hex_ + ", all 128 bytes\n"), records.size()) << devices.out;
}

}  // namespace
}  // namespace zorvan::testing
