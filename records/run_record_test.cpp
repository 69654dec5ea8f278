// The run records' file and lines, on each platform's own file and cryptography calls.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "common/errors.h"
#include "records/record_file.h"
#include "records/run_record.h"
#include "records/sha256.h"

namespace zorvan {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class RecordFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Each test, in whichever process ctest runs it, on a file of its own.
    path_ = fs::temp_directory_path() /
            ("zorvan-records-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
             std::to_string(std::random_device{}()) + ".jsonl");
    fs::remove(path_);
  }
  void TearDown() override { fs::remove(path_); }

  static RunRecord Sample(const std::string& port, int status) {
    RunRecord r;
    r.began = "2026-03-13T14:05:09+02:00";
    r.seconds = 45.3;
    r.port = port;
    r.description = "250101";
    r.firmware_version = "260313";
    r.result = "Помилка запису - 000400";
    r.exit_status = status;
    return r;
  }

  fs::path path_;
};

TEST_F(RecordFileTest, AppendsWholeLinesAndEndsALastLineThatACrashCutShort) {
  {
    std::ofstream out(path_, std::ios::binary);
    out << RecordLine(Sample("COM3", 0)) << "\n" << RecordLine(Sample("COM4", 7)).substr(0, 40);
  }
  // A reader leaves the cut last line out without a word.
  std::vector<size_t> skipped;
  ASSERT_EQ(ParseRecords(ReadAll(path_), &skipped).size(), 1u);
  EXPECT_TRUE(skipped.empty());

  {
    RecordFile file(path_);
    file.Append(RecordLine(Sample("COM5", 6)));
    file.Append(RecordLine(Sample("COM6", 0)));
  }
  const std::vector<RunRecord> records = ParseRecords(ReadAll(path_), &skipped);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].port, "COM3");
  EXPECT_EQ(records[1].port, "COM5");
  EXPECT_EQ(records[1].exit_status, 6);
  EXPECT_EQ(records[2].port, "COM6");
  EXPECT_EQ(skipped, std::vector<size_t>{2});  // the cut line, no longer the last
}

TEST_F(RecordFileTest, AFileThatCannotBeOpenedForAppendingIsNamed) {
  fs::create_directory(path_);
  try {
    RecordFile file(path_);
    ADD_FAILURE() << "a folder was opened as a record file";
  } catch (const ERecordFile& e) {
    EXPECT_EQ(e.WhatFailed(), ERecordFile::Act::Open);
    EXPECT_EQ(e.PathText(), path_.string());
    EXPECT_FALSE(e.Reason().empty());
  }
  fs::remove(path_);
}

TEST(RunRecordLine, KeepsEveryFieldAndSurvivesADescriptionThatIsNoUtf8) {
  RunRecord r;
  r.began = "2026-03-13T14:05:09+02:00";
  r.seconds = 45.34;
  r.host = "bench-3";
  r.port = "/dev/ttyUSB0";
  r.adapter_usb = "0403:6001";
  r.adapter_serial = "A50285BI";
  r.baud = 115200;
  r.loader_version = "02";
  r.description = "25\xF0\x01" "01";  // a device's own code page
  r.firmware_version = "260313";
  r.hex_file = "fw.hex";
  r.hex_sha256 = std::string(64, 'a');
  r.result = "Мікропрограма успішно завантажена в 14:05:54";
  r.exit_status = 3;
  TakePauses("Автокалібровка: 3.1.2", r);
  r.erasing_begun = true;
  r.blocks_done = 37;
  r.blocks = 128;
  r.address = 0x9500;
  r.partly_written = true;
  const std::string line = RecordLine(r);
  // How far the run got follows the fields readers knew before it.
  EXPECT_NE(line.find(R"("final_pauses":{"erase":3,"write":1,"commit":2},)"
                      R"("progress":{"blocks_done":37,"blocks":128,"address":38144,"partly_written":true}})"),
            std::string::npos)
      << line;
  EXPECT_EQ(line.find('\n'), std::string::npos);
  const std::optional<RunRecord> back = ParseRecordLine(line);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->began, r.began);
  EXPECT_DOUBLE_EQ(back->seconds, 45.3);
  EXPECT_EQ(back->adapter_usb, "0403:6001");
  EXPECT_EQ(back->adapter_serial, "A50285BI");
  EXPECT_EQ(back->baud, 115200u);
  EXPECT_EQ(back->description, "25\xEF\xBF\xBD\x01" "01");  // the stray byte became U+FFFD
  EXPECT_EQ(back->hex_file, "fw.hex");
  EXPECT_EQ(back->result, r.result);
  EXPECT_EQ(back->failed_attempts, 6);
  EXPECT_EQ(back->erase_pause, 3);
  EXPECT_EQ(back->write_pause, 1);
  EXPECT_EQ(back->commit_pause, 2);
  EXPECT_TRUE(back->erasing_begun);
  EXPECT_EQ(back->blocks_done, 37);
  EXPECT_EQ(back->blocks, 128);
  EXPECT_EQ(back->address, 0x9500);
  EXPECT_TRUE(back->partly_written);

  r.erasing_begun = false;
  EXPECT_NE(RecordLine(r).find(R"("progress":null})"), std::string::npos);
  EXPECT_FALSE(ParseRecordLine(RecordLine(r))->erasing_begun);
}

TEST(RunRecordTime, ReadsTheOffsetItWrites) {
  EXPECT_EQ(ParseIsoTime("2026-03-13T14:05:09+02:00"), std::time_t{1773403509});
  EXPECT_EQ(ParseIsoTime("2026-03-13T12:05:09Z"), std::time_t{1773403509});
  EXPECT_EQ(ParseIsoTime("2026-03-13T08:35:09-03:30"), std::time_t{1773403509});
  EXPECT_FALSE(ParseIsoTime("2026-03-13T14:05:09"));
  EXPECT_FALSE(ParseIsoTime("yesterday"));
  for (std::time_t t : {std::time_t{1773403509}, std::time_t{1790000000}}) EXPECT_EQ(ParseIsoTime(IsoLocalTime(t)), t);
  EXPECT_FALSE(ParseLocalTime("2026-13-01"));
  EXPECT_EQ(ParseLocalTime("2026-03-13"), ParseLocalTime("2026-03-13 00:00:00"));
}

TEST(Sha256Hex, GivesTheStandardDigests) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace zorvan
