// zorvan-flash write --force against zorvan-sim: a device the version gate refuses is
// written only as far as the command line says, and its run record says it was forced.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>

#include "firmware/firmware_source.h"
#include "tests/support/program_runner.h"
#include "records/run_record.h"

namespace zorvan::testing {
namespace {

TEST(ForcedWrite, WritesWhatTheGateRefusesOnlyAsFarAsItIsTold) {
  char pattern[] = "/tmp/zorvan-forced-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  const std::string hex = WriteHexFile(dir + "/fw.hex", 128);
  const std::string record = dir + "/runs.jsonl";
  SimProcess sim({"--count", "5", "--baud", "0", "--geometry", "4,16,2", "--verify", hex,
                  "--device", "1", "--description", "260313", "--device", "2", "--description", "",
                  "--device", "3", "--description", "260314", "--device", "4", "--description", "260314",
                  "--device", "5", "--description", "260314"},
                 5);
  const std::vector<std::string>& ports = sim.PortPaths();
  const std::vector<std::vector<std::string>> flags = {
      {"--force"}, {"--force"}, {"--force"}, {"--force", "--force"}, {"--allow-downgrade"}};
  const int statuses[] = {0, 0, 6, 0, 0};
  {
    // Each device on a command of its own, all at once.
    std::vector<std::unique_ptr<Program>> writes;
    for (size_t i = 0; i < ports.size(); ++i) {
      std::vector<std::string> args = {"write", "--hex", hex, "--record", record, "--port", ports[i]};
      args.insert(args.end(), flags[i].begin(), flags[i].end());
      writes.push_back(std::make_unique<Program>("zorvan-flash", args));
    }
    for (size_t i = 0; i < writes.size(); ++i) {
      const ProgramResult result = writes[i]->Finish();
      EXPECT_EQ(result.status, statuses[i]) << ports[i] << "\n" << result.out << result.err;
    }
  }
  std::map<std::string, RunRecord> by_port;
  for (const RunRecord& r : ParseRecords(ReadTextFile(record))) by_port[r.port] = r;
  ASSERT_EQ(by_port.size(), 5u);
  for (size_t i = 0; i < ports.size(); ++i) EXPECT_EQ(by_port[ports[i]].forced, statuses[i] == 0) << ports[i];
  EXPECT_EQ(by_port[ports[2]].result, "В прилад вже записана новіша версія!");

  const ProgramResult devices = sim.Stop();
  for (size_t i : {0, 1, 3, 4}) {
    EXPECT_NE(devices.out.find(ports[i] + ": the flash holds " + hex + ", all 128 bytes\n"), std::string::npos)
        << devices.out;
  }
  EXPECT_NE(devices.out.find(ports[2] + ": the flash does not hold"), std::string::npos) << devices.out;

  // The loop takes a device that holds this firmware for the one it has just programmed.
  const ProgramResult loop = RunProgram("zorvan-flash", {"write", "--loop", "--force", "--port", ports[0]});
  EXPECT_EQ(loop.status, 1);
  EXPECT_EQ(loop.err,
            "zorvan-flash write: --loop не поєднується з --force чи --allow-downgrade (див. zorvan-flash --help)\n");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zorvan::testing
