// zorvan-flash write with several ports against one zorvan-sim serving several devices:
// every device gets its own run, and what befalls one never touches the others.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "tests/support/program_runner.h"

namespace zorvan::testing {
namespace {

class GangWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-gang-XXXXXX";
    dir_ = mkdtemp(pattern);
    hex_ = WriteHexFile(dir_ + "/fw.hex", 128);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // `count` quick devices of two blocks of four 16-byte chunks, answering at once and
  // comparing their flash with the HEX file at the end; `more` adds options.
  std::vector<std::string> Devices(int count, std::vector<std::string> more = {}) const {
    std::vector<std::string> args = {"--count", std::to_string(count), "--baud", "0", "--geometry", "4,16,2",
                                     "--verify", hex_};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  std::vector<std::string> Write(const std::vector<std::string>& ports) const {
    std::vector<std::string> args = {"write", "--hex", hex_};
    for (const std::string& port : ports) args.insert(args.end(), {"--port", port});
    return args;
  }

  // The summary table's row of `port`, its columns separated by runs of spaces.
  static std::string TableRow(const std::string& out, const std::string& port) {
    const size_t table = out.find("\nПорт ");
    if (table == std::string::npos) return {};
    const size_t row = out.find("\n" + port + " ", table);
    if (row == std::string::npos) return {};
    std::string line = out.substr(row + 1, out.find('\n', row + 1) - row - 1);
    std::string squeezed;
    for (char c : line) {
      if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
    }
    return squeezed;
  }

  std::string dir_, hex_;
};

TEST_F(GangWrite, ProgramsEveryDeviceByteForByte) {
  SimProcess sim(Devices(4), 4);
  const ProgramResult flash = RunProgram("zorvan-flash", Write(sim.PortPaths()));
  EXPECT_EQ(flash.status, 0) << flash.out << flash.err;
  const ProgramResult devices = sim.Stop();
  EXPECT_EQ(devices.status, 0) << devices.out;
  for (const std::string& port : sim.PortPaths()) {
    EXPECT_NE(devices.out.find("zorvan-sim: " + port + ": the flash holds " + hex_ + ", all 128 bytes\n"),
              std::string::npos)
        << devices.out;
    // Off a terminal every line of a run carries its port.
    EXPECT_NE(flash.out.find(port + ": [########################] 100%  128/128 байт"), std::string::npos);
    EXPECT_EQ(TableRow(flash.out, port).rfind(port + " 250101 Мікропрограма успішно завантажена в ", 0), 0u)
        << flash.out;
  }
}

TEST_F(GangWrite, OneDevicesHangUpRefusalOrSilenceLeavesTheOthersProgrammed) {
  // Device 2 hangs up inside its first block, device 3 already holds this firmware and
  // device 4 never answers.
  SimProcess sim(Devices(4, {"--device", "2", "--hangup-after", "6", "--device", "3", "--description", "260313",
                             "--device", "4", "--silent-after", "0"}),
                 4);
  const std::vector<std::string>& ports = sim.PortPaths();
  const ProgramResult flash = RunProgram("zorvan-flash", Write(ports));
  EXPECT_EQ(flash.status, 11) << flash.out << flash.err;
  EXPECT_EQ(TableRow(flash.out, ports[0]).rfind(ports[0] + " 250101 Мікропрограма успішно завантажена в ", 0), 0u)
      << flash.out;
  const std::string hung_up = TableRow(flash.out, ports[1]);
  EXPECT_TRUE(hung_up.rfind(ports[1] + " 250101 Помилка читання з порта ", 0) == 0 ||
              hung_up.rfind(ports[1] + " 250101 Помилка запису в порт. ", 0) == 0)
      << flash.out;
  EXPECT_EQ(hung_up.substr(hung_up.size() - 2), " 3");
  const std::string refused = TableRow(flash.out, ports[2]);
  EXPECT_EQ(refused.rfind(ports[2] + " 260313 Дана версія вже записана в прилад! ", 0), 0u) << flash.out;
  EXPECT_EQ(refused.substr(refused.size() - 2), " 6");
  const std::string silent = TableRow(flash.out, ports[3]);
  EXPECT_EQ(silent.rfind(ports[3] + " Не визначино, для усунення причин: ", 0), 0u) << flash.out;
  EXPECT_EQ(silent.substr(silent.size() - 2), " 4");
  EXPECT_NE(flash.err.find(ports[1] + ": Помилка "), std::string::npos) << flash.err;

  const ProgramResult devices = sim.Stop();
  EXPECT_NE(devices.out.find("zorvan-sim: " + ports[0] + ": the flash holds " + hex_ + ", all 128 bytes\n"),
            std::string::npos)
      << devices.out;
}

TEST_F(GangWrite, APortNamedTwiceIsRefusedBeforeAnythingStarts) {
  SimProcess sim(Devices(2, {"--log"}), 2);
  const std::string link = dir_ + "/by-id-link";
  std::filesystem::create_symlink(sim.PortPaths()[1], link);
  const ProgramResult flash = RunProgram("zorvan-flash", Write({sim.PortPaths()[0], sim.PortPaths()[1], link}));
  EXPECT_EQ(flash.status, 1);
  EXPECT_EQ(flash.err, "zorvan-flash write: --port " + sim.PortPaths()[1] + " і --port " + link +
                           " — один і той самий порт (" + sim.PortPaths()[1] + "); нічого не розпочато\n");
  EXPECT_EQ(flash.out, "");
  const ProgramResult devices = sim.Stop();
  EXPECT_EQ(devices.err, "") << "a device was spoken to";
}

TEST_F(GangWrite, CtrlCStopsEveryRun) {
  // Long enough a write that the runs are still in their first blocks when Ctrl+C comes.
  SimProcess sim({"--count", "3", "--baud", "0", "--geometry", "4,16,64", "--write-ms", "5"}, 3);
  Program flash("zorvan-flash", Write(sim.PortPaths()));
  for (const std::string& port : sim.PortPaths()) ASSERT_TRUE(flash.WaitForOutput(port + ": [......"));
  flash.Signal(SIGINT);
  const ProgramResult result = flash.Finish();
  EXPECT_EQ(result.status, 11) << result.out << result.err;
  for (const std::string& port : sim.PortPaths()) {
    const std::string row = TableRow(result.out, port);
    EXPECT_EQ(row.rfind(port + " 250101 Зупинено користувачем! ", 0), 0u) << result.out;
    EXPECT_EQ(row.substr(row.size() - 2), " 8");
  }
  EXPECT_EQ(result.out.find("успішно"), std::string::npos);
}

}  // namespace
}  // namespace zorvan::testing
