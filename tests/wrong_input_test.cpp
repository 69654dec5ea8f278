// What a new user gives by mistake, tried as they would: a file that is not Intel HEX, a
// port path that is not the port, a line that fails in the middle of a write. Each is
// refused before a device is touched, or told plainly with what it left behind.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "firmware/firmware_source.h"
#include "tests/support/program_runner.h"
#include "records/run_record.h"

namespace zorvan::testing {
namespace {

class WrongInput : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-wrong-XXXXXX";
    dir_ = mkdtemp(pattern);
    hex_ = WriteHexFile(dir_ + "/fw.hex", 128);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // A quick device of two blocks of four 16-byte chunks.
  static std::vector<std::string> Device(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--baud", "0", "--geometry", "4,16,2"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  std::string File(const std::string& name, const std::string& content) const {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << content;
    return dir_ + "/" + name;
  }

  std::string dir_, hex_;
};

// The classic failed download, a raw binary, an S-record file, an empty file, a file of
// records without data: check refuses each with a message that names it, and write
// refuses it before the port is opened, alone, in a gang or in the loop. The device is
// not spoken to, and its flash is as a device's that nobody touched.
TEST_F(WrongInput, AFileThatIsNotIntelHexIsRefusedBeforeAnyDeviceIsTouched) {
  const std::string binary("\x7F" "ELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16);
  const std::pair<std::string, std::string> files[] = {
      {File("firmware.hex", "<!DOCTYPE html>\n<html><body>404 Not Found</body></html>\n"),
       " не містить записів Intel HEX!"},
      {File("fw.bin", binary + ":0400000043EF01F0D9\n"), " двійковий, а не текст Intel HEX!"},
      {File("fw.srec", "S00F000068656C6C6F202020202000003C\nS1070000C0FFEE0054\nS9030000FC\n"),
       " не містить записів Intel HEX!"},
      {File("eof-only.hex", ":00000001FF\n"), " не містить записів Intel HEX!"},
  };
  SimProcess device(Device({"--count", "2", "--log", "--device", "1", "--dump", dir_ + "/touched.bin"}), 2);
  const std::vector<std::vector<std::string>> writes = {
      {"write", "--port", device.PortPaths()[0]},
      {"write", "--port", device.PortPaths()[0], "--port", device.PortPaths()[1]},
      {"write", "--loop", "--port", device.PortPaths()[0]}};
  for (const auto& [path, tail] : files) {
    SCOPED_TRACE(path);
    const std::string refusal = "Файл " + path + tail + "\n";
    const ProgramResult check = RunProgram("zorvan-flash", {"check", path});
    EXPECT_EQ(check.status, 2);
    EXPECT_EQ(check.out, "");
    EXPECT_EQ(check.err, refusal);
    for (std::vector<std::string> write : writes) {
      write.insert(write.end(), {"--hex", path});
      const ProgramResult r = RunProgram("zorvan-flash", write);
      EXPECT_EQ(r.status, 2);
      EXPECT_EQ(r.err, refusal + "Жодного приладу не зачеплено.\n");
    }
  }
  const std::string empty = File("empty.hex", "");
  const ProgramResult check = RunProgram("zorvan-flash", {"check", empty});
  EXPECT_EQ(check.status, 2);
  EXPECT_EQ(check.err, "Файл " + empty + " порожній: у ньому немає жодного запису Intel HEX.\n");
  EXPECT_EQ(RunProgram("zorvan-flash", {"write", "--port", device.PortPaths()[0], "--hex", empty}).status, 2);

  const ProgramResult touched = device.Stop();
  EXPECT_EQ(touched.err, "") << "the device was spoken to";
  SimProcess fresh(Device({"--dump", dir_ + "/fresh.bin"}));
  fresh.Stop();
  const std::string flash = ReadTextFile(dir_ + "/touched.bin");
  EXPECT_EQ(flash.size(), 128u);
  EXPECT_EQ(flash, ReadTextFile(dir_ + "/fresh.bin"));
}

// The real HEX files stay welcome: one without an end-of-file record is prepared from
// every line, as ever, and check says so.
TEST_F(WrongInput, AHexFileWithoutAnEndOfFileRecordIsTakenAndCheckSaysSo) {
  const std::string path = File("no-end.hex", ":0400000043EF01F0D9\n");
  const ProgramResult check = RunProgram("zorvan-flash", {"check", path});
  EXPECT_EQ(check.status, 0) << check.err;
  EXPECT_EQ(check.out, "Примітка: у " + path +
                           " немає запису кінця файлу (:00000001FF); взято записи до останнього рядка.\n"
                           "0x000000-0x000003  4 байт\n"
                           "Образ готовий: 4 байт з " + path + ", діапазонів адрес: 1\n");
  const ProgramResult quiet = RunProgram("zorvan-flash", {"check", "-q", path});
  EXPECT_EQ(quiet.out, "Образ готовий: 4 байт з " + path + ", діапазонів адрес: 1\n");
}

// A port given with a "/" is the path as it stands, a link in the current folder
// included; a bare name is looked up among the devices, and the error names the path it
// tried and how to give the one meant.
TEST_F(WrongInput, APortPathIsTakenAsItStandsAndABareNameIsADevicesName) {
  SimProcess sim(Device({"--description", "250101"}));
  const std::string link = "zorvan-port-" + std::to_string(getpid());
  ASSERT_EQ(symlink(sim.PortPath().c_str(), link.c_str()), 0);
  const ProgramResult by_path = RunProgram("zorvan-flash", {"detect", "--port", "./" + link});
  const ProgramResult by_name = RunProgram("zorvan-flash", {"detect", "--port", link});
  unlink(link.c_str());
  EXPECT_EQ(by_path.status, 0) << by_path.err;
  EXPECT_EQ(by_path.out.rfind("Визначино:\n250101\n", 0), 0u) << by_path.out;
  EXPECT_EQ(by_name.status, 3);
  EXPECT_EQ(by_name.err, "Спроба відкрити неіснуючий СОМ-порт: /dev/" + link + ".\n" + link +
                             " є в поточній теці: вкажіть його як ./" + link + ".\n");
}

// A line that fails once blocks are being erased leaves the device without a whole
// firmware: the screen says so and how far the writing got, and so does the record,
// beside the fields it always had.
TEST_F(WrongInput, APortThatFailsAfterTheFirstEraseSaysTheDeviceIsPartlyWritten) {
  const std::string record = dir_ + "/runs.jsonl";
  SimProcess sim(Device({"--hangup-after", "14"}));  // in the second block, normally
  const ProgramResult flash =
      RunProgram("zorvan-flash", {"write", "--port", sim.PortPath(), "--hex", hex_, "--record", record});
  EXPECT_EQ(flash.status, 3);
  const std::vector<RunRecord> records = ParseRecords(ReadTextFile(record));
  ASSERT_EQ(records.size(), 1u);
  const RunRecord& r = records[0];
  EXPECT_EQ(r.exit_status, 3);
  EXPECT_TRUE(r.result == "Помилка читання з порта" || r.result == "Помилка запису в порт.") << r.result;
  EXPECT_TRUE(r.erasing_begun);
  EXPECT_TRUE(r.partly_written);
  EXPECT_EQ(r.blocks, 2);
  EXPECT_LT(r.blocks_done, 2);
  EXPECT_GT(r.address, 0);
  EXPECT_LT(r.address, 128);
  char address[8];
  std::snprintf(address, sizeof address, "%06llX", static_cast<unsigned long long>(r.address));
  std::string first_line = r.result;
  if (first_line.back() == '.') first_line.pop_back();
  EXPECT_EQ(flash.err, first_line + ": " + sim.PortPath() +
                           ".\nПеревірте з'єднання з приладом і запустіть команду знову.\n"
                           "Мікропрограму записано частково: " + std::to_string(r.blocks_done) +
                           " з 2 блоків, до адреси 0x" + address +
                           ".\nЗапишіть прилад знову (zorvan-flash write), інакше він не працюватиме.\n");

  const ProgramResult table = RunProgram("zorvan-flash", {"records", record});
  EXPECT_NE(table.out.find(r.result + " (записано частково)"), std::string::npos) << table.out;
}

// What check could not write says why, in a status of its own.
TEST_F(WrongInput, ADumpThatCannotBeWrittenSaysWhy) {
  const ProgramResult r = RunProgram("zorvan-flash", {"check", hex_, "--dump-hex", dir_});
  EXPECT_EQ(r.status, 14);
  EXPECT_EQ(r.err, "Не вдається записати файл \"" + dir_ + "\": це тека.\n");
}

}  // namespace
}  // namespace zorvan::testing
