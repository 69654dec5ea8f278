// zorvan-flash write --record and zorvan-flash records as the operator runs them, against
// zorvan-sim: every run is recorded, whatever its ending, and a record file that cannot
// be written stops the command before any device is touched.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "firmware/firmware_source.h"
#include "tests/support/program_runner.h"
#include "records/run_record.h"
#include "records/sha256.h"

namespace zorvan::testing {
namespace {


class RunRecords : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-records-XXXXXX";
    dir_ = mkdtemp(pattern);
    hex_ = WriteHexFile(dir_ + "/fw.hex", 128);
    record_ = dir_ + "/runs.jsonl";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  static std::vector<std::string> Devices(int count, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--count", std::to_string(count), "--baud", "0", "--geometry", "4,16,2"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  std::vector<std::string> Write(const std::vector<std::string>& ports) const {
    std::vector<std::string> args = {"write", "--hex", hex_, "--record", record_};
    for (const std::string& port : ports) args.insert(args.end(), {"--port", port});
    return args;
  }

  // The records of the file; fails the test when a line does not parse.
  std::vector<RunRecord> Records() const {
    const std::string text = ReadTextFile(record_);
    std::vector<size_t> skipped;
    std::vector<RunRecord> records = ParseRecords(text, &skipped);
    EXPECT_TRUE(skipped.empty());
    EXPECT_EQ(records.size(), static_cast<size_t>(std::count(text.begin(), text.end(), '\n'))) << text;
    return records;
  }

  std::string WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << content;
    return dir_ + "/" + name;
  }

  std::string dir_, hex_, record_;
};

TEST_F(RunRecords, AGangRecordsEveryDeviceWithItsOwnResult) {
  SimProcess sim(Devices(3, {"--device", "2", "--hangup-after", "6"}), 3);
  const std::vector<std::string>& ports = sim.PortPaths();
  const ProgramResult flash = RunProgram("zorvan-flash", Write(ports));
  EXPECT_EQ(flash.status, 11) << flash.out << flash.err;

  const std::vector<RunRecord> records = Records();
  ASSERT_EQ(records.size(), 3u);
  std::set<std::string> recorded;
  for (const RunRecord& r : records) {
    recorded.insert(r.port);
    EXPECT_EQ(r.baud, 115200u);
    EXPECT_EQ(r.loader_version, "02");
    EXPECT_EQ(r.description, "250101");
    EXPECT_EQ(r.firmware_version, "260313");
    EXPECT_EQ(r.hex_file, "fw.hex");
    EXPECT_EQ(r.hex_sha256, Sha256Hex(ReadTextFile(hex_)));
    EXPECT_TRUE(ParseIsoTime(r.began)) << r.began;
    if (r.port == ports[1]) {
      EXPECT_EQ(r.exit_status, 3);
      EXPECT_TRUE(r.result == "Помилка читання з порта" || r.result == "Помилка запису в порт.") << r.result;
    } else {
      EXPECT_EQ(r.exit_status, 0);
      EXPECT_EQ(r.result.rfind("Мікропрограма успішно завантажена в ", 0), 0u) << r.result;
      EXPECT_EQ(r.failed_attempts, 0);
    }
  }
  EXPECT_EQ(recorded, std::set<std::string>(ports.begin(), ports.end()));
}

TEST_F(RunRecords, ARunRefusedByTheVersionGateIsRecorded) {
  SimProcess sim(Devices(1, {"--description", "260313"}));
  const ProgramResult flash = RunProgram("zorvan-flash", Write({sim.PortPath()}));
  EXPECT_EQ(flash.status, 6);
  const std::vector<RunRecord> records = Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].port, sim.PortPath());
  EXPECT_EQ(records[0].description, "260313");
  EXPECT_EQ(records[0].result, "Дана версія вже записана в прилад!");
  EXPECT_EQ(records[0].exit_status, 6);
}

TEST_F(RunRecords, ARecordFileThatCannotBeOpenedStopsTheCommandBeforeTheDeviceIsTouched) {
  SimProcess sim(Devices(1, {"--log"}));
  record_ = dir_;  // a folder
  const ProgramResult flash = RunProgram("zorvan-flash", Write({sim.PortPath()}));
  EXPECT_EQ(flash.status, 12);
  EXPECT_EQ(flash.err, "Не вдається відкрити файл записів \"" + dir_ + "\" для дописування: це тека. "
                       "Жодного приладу не зачеплено.\n");
  const ProgramResult device = sim.Stop();
  EXPECT_EQ(device.err, "") << "the device was spoken to";
}

TEST_F(RunRecords, AFileWhoseLastLineWasCutIsStillReadAndAppendedTo) {
  SimProcess sim(Devices(2), 2);
  const std::vector<std::string>& ports = sim.PortPaths();
  ASSERT_EQ(RunProgram("zorvan-flash", Write({ports[0]})).status, 0);
  std::ofstream(record_, std::ios::app) << "{\"began\": \"2026-03-13T14:0";  // the plug was pulled
  EXPECT_EQ(RunProgram("zorvan-flash", Write({ports[1]})).status, 0);

  // In English, the system's own messages the records keep included.
  const ProgramResult table = RunProgram("zorvan-flash", {"records", record_}, Locale::English);
  EXPECT_EQ(table.status, 0);
  EXPECT_EQ(table.err, "zorvan-flash records: line 2 of " + record_ + " is not a run record; left out\n");
  std::istringstream lines(table.out);
  std::string heading, first, second, more;
  std::getline(lines, heading);
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_FALSE(std::getline(lines, more)) << table.out;
  EXPECT_EQ(heading.rfind("Began ", 0), 0u) << table.out;
  EXPECT_NE(first.find(" " + ports[0] + " "), std::string::npos) << table.out;
  EXPECT_NE(second.find(" " + ports[1] + " "), std::string::npos) << table.out;
  EXPECT_NE(second.find(" fw.hex sha256:"), std::string::npos) << table.out;
  EXPECT_NE(second.find(" The firmware was written successfully at "), std::string::npos) << table.out;

  const ProgramResult one_port = RunProgram("zorvan-flash", {"records", record_, "--port", ports[1]});
  EXPECT_EQ(std::count(one_port.out.begin(), one_port.out.end(), '\n'), 2) << one_port.out;
  const ProgramResult future = RunProgram("zorvan-flash", {"records", record_, "--since", "2999-01-01"});
  EXPECT_EQ(future.out, "Жоден запис прогону в " + record_ + " не відповідає умовам.\n");
}

// A file that is missing, or holds no record at all (a HEX file given by mistake, an
// empty file), has a status of its own, not the one of a record file a run cannot write.
TEST_F(RunRecords, RecordsTellsAMissingFileAndOneWithoutRecordsByTheirOwnStatuses) {
  const ProgramResult missing = RunProgram("zorvan-flash", {"records", record_});
  EXPECT_EQ(missing.status, 15);
  EXPECT_EQ(missing.err, "Не вдається відкрити файл \"" + record_ + "\": немає такого файлу чи теки.\n");
  for (const std::string& file : {hex_, WriteFile("empty.jsonl", "")}) {
    const ProgramResult none = RunProgram("zorvan-flash", {"records", file});
    EXPECT_EQ(none.status, 16);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "У " + file + " немає жодного запису прогону.\n");
  }
}

}  // namespace
}  // namespace zorvan::testing
