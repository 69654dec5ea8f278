// zorvan-flash detect, write and reset as the operator runs them, against zorvan-sim in
// a process of its own: their output and their exit statuses.

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "tests/support/program_runner.h"

namespace zorvan::testing {
namespace {

class FlashCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorvan-hex-XXXXXX";
    dir_ = mkdtemp(pattern);
    hex_ = WriteHexFile(dir_ + "/fw.hex", 64);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // A quick device of two blocks of four 16-byte chunks.
  static std::vector<std::string> Device(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"--baud", "0", "--geometry", "4,16,2"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }

  std::string dir_, hex_;
};

TEST_F(FlashCommands, WriteProgramsTheHexFileAndExitsZero) {
  SimProcess sim(Device({"--verify", hex_}));
  const ProgramResult flash = RunProgram("zorvan-flash", {"write", "--port", sim.PortPath(), "--hex", hex_});
  EXPECT_EQ(flash.status, 0) << flash.err;
  EXPECT_NE(flash.out.find("] 100%  128/128 байт"), std::string::npos) << flash.out;
  // The final message's lines, centred in the window's box, stand at the left margin here.
  EXPECT_NE(flash.out.find("\nМікропрограма успішно завантажена в "), std::string::npos) << flash.out;
  EXPECT_NE(flash.out.find("\nПісля запису необхідно провести встановлення конфігурації"), std::string::npos)
      << flash.out;
  const ProgramResult device = sim.Stop();
  EXPECT_EQ(device.status, 0);
  EXPECT_EQ(device.out.substr(device.out.find('\n') + 1),
            "zorvan-sim: the flash holds " + hex_ + ", all 128 bytes\n");
}

TEST_F(FlashCommands, VerboseWritePrintsEveryAttempt) {
  SimProcess sim(Device());
  const ProgramResult flash =
      RunProgram("zorvan-flash", {"write", "--port", sim.PortPath(), "--hex", hex_, "--verbose"});
  EXPECT_EQ(flash.status, 0);
  EXPECT_NE(flash.out.find("\nОчистивw0400000004;\n"), std::string::npos) << flash.out;
  EXPECT_NE(flash.out.find("\nОчистивw0400004044;\n"), std::string::npos) << flash.out;
}

TEST_F(FlashCommands, DetectShowsTheDescription) {
  SimProcess sim(Device({"--description", "250101"}));
  const ProgramResult flash = RunProgram("zorvan-flash", {"detect", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 0);
  // The window's advice to open a HEX file is a command line's own here.
  EXPECT_EQ(flash.out,
            "Визначино:\n250101\nРобота приладу призупинена!\n"
            "Прилад чекає в завантажувачі: zorvan-flash write записує його, zorvan-flash reset повертає до роботи.\n");
}

TEST_F(FlashCommands, DetectWithNoDeviceExitsFour) {
  SimProcess sim(Device({"--silent-after", "0"}));
  const ProgramResult flash = RunProgram("zorvan-flash", {"detect", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 4);
  EXPECT_EQ(flash.out.substr(0, flash.out.find('\n')), "Не визначино, для усунення причин:");
}

TEST_F(FlashCommands, AnUnknownLoaderVersionExitsFive) {
  SimProcess sim(Device({"--loader-version", "03"}));
  const ProgramResult flash = RunProgram("zorvan-flash", {"detect", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 5);
  EXPECT_EQ(flash.out, "03 - невідома версія завантажувача мікроконтролера\n");
}

TEST_F(FlashCommands, TheVersionGateExitsSix) {
  SimProcess sim(Device({"--description", "260313"}));
  const ProgramResult flash = RunProgram("zorvan-flash", {"write", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 6);
  EXPECT_EQ(flash.out, "Дана версія вже записана в прилад!\n");
}

TEST_F(FlashCommands, AMemoryTooLargeToAddressExitsNine) {
  SimProcess sim({"--baud", "0", "--geometry", "255,255,259"});
  const ProgramResult flash = RunProgram("zorvan-flash", {"write", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 9);
  EXPECT_EQ(flash.out,
            "Пам'ять приладу (16841475 байт) перевищує 16 МБ, які може адресувати завантажувач.\n"
            "Запис неможливий!\n");
}

TEST_F(FlashCommands, ADescriptionThatIsNoNumberExitsTen) {
  SimProcess sim(Device({"--description", "26A313"}));
  const ProgramResult flash = RunProgram("zorvan-flash", {"write", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 10);
  EXPECT_EQ(flash.err, "«26A313» — не ціле число.\n");
}

TEST_F(FlashCommands, PortErrorsExitThree) {
  const ProgramResult missing = RunProgram("zorvan-flash", {"detect", "--port", "/dev/zorvan-no-such-port"});
  EXPECT_EQ(missing.status, 3);
  EXPECT_EQ(missing.err,
            "Спроба відкрити неіснуючий СОМ-порт: /dev/zorvan-no-such-port.\n"
            "Порти системи показує zorvan-flash ports.\n");

  // The device hangs up in its identification, long before anything is erased.
  SimProcess sim(Device({"--hangup-after", "1"}));
  const ProgramResult hung_up = RunProgram("zorvan-flash", {"write", "--port", sim.PortPath(), "--hex", hex_});
  EXPECT_EQ(hung_up.status, 3);
  const std::string advice = ": " + sim.PortPath() + ".\nПеревірте з'єднання з приладом і запустіть команду знову.\n";
  EXPECT_TRUE(hung_up.err == "Помилка запису в порт" + advice || hung_up.err == "Помилка читання з порта" + advice)
      << hung_up.err;
}

// How long after the device's last Reset `flash` printed `result`: both are watched as
// they happen. Fails the test when either never comes.
std::chrono::milliseconds ResultAfterLastReset(const SimProcess& sim, size_t resets, Program& flash,
                                               const std::string& result) {
  using Clock = std::chrono::steady_clock;
  const auto limit = Clock::now() + std::chrono::seconds(120);
  std::optional<Clock::time_point> reset_seen;
  while (Clock::now() < limit) {
    const std::string device = sim.OutputSoFar();
    if (!reset_seen && size_t(std::count(device.begin(), device.end(), '\n')) >= sim.PortPaths().size() + resets) {
      reset_seen = Clock::now();
    }
    if (flash.OutputSoFar().find(result) != std::string::npos) {
      EXPECT_TRUE(reset_seen) << "the result came before the device was reset";
      return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - reset_seen.value_or(Clock::now()));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ADD_FAILURE() << "no '" << result << "' within two minutes:\n" << flash.OutputSoFar();
  return std::chrono::milliseconds::max();
}

// A line that carries the characters far faster than the rate it was set to (a native
// USB device, a network bridge; here a device without pacing, set to 1200 bit/s): the
// result is told as soon as the device has been reset, not when the rate says the
// characters would have left, which for this run is half a minute later.
TEST_F(FlashCommands, OnALineFasterThanItsRateTheResultComesAsTheDeviceIsReset) {
  const std::vector<std::string> device = {"--baud", "0", "--geometry", "16,64,2", "--print-resets"};
  {
    SimProcess sim(device);
    Program flash("zorvan-flash", {"write", "--port", sim.PortPath(), "--baud", "1200", "--hex", hex_});
    EXPECT_LT(ResultAfterLastReset(sim, 2, flash, "Мікропрограма успішно завантажена в "),
              std::chrono::milliseconds(3000));
    EXPECT_EQ(flash.Finish().status, 0);
  }
  std::vector<std::string> gang = device;
  gang.insert(gang.begin(), {"--count", "2"});
  SimProcess sim(gang, 2);
  Program flash("zorvan-flash", {"write", "--port", sim.PortPaths()[0], "--port", sim.PortPaths()[1], "--baud",
                                 "1200", "--hex", hex_});
  EXPECT_LT(ResultAfterLastReset(sim, 4, flash, "Порт "), std::chrono::milliseconds(3000));
  EXPECT_EQ(flash.Finish().status, 0);
}

// What stands in a port's place is said in one line; a path that leads nowhere is named.
TEST_F(FlashCommands, APortPathThatIsNoTerminalIsAPortErrorAndNothingIsWritten) {
  const std::string file = dir_ + "/notes.txt";
  std::ofstream(file) << "keep me";
  const std::string missing = "Спроба відкрити неіснуючий СОМ-порт: ";
  const std::string advice = ".\nПорти системи показує zorvan-flash ports.\n";
  const std::pair<std::string, std::string> cases[] = {
      {file, file + " — це файл, а не послідовний порт.\n"},
      {dir_, dir_ + " — це тека, а не послідовний порт.\n"},
      {"/dev/null", "/dev/null не є послідовним портом.\n"},
      {dir_ + "/missing", missing + dir_ + "/missing" + advice},
      {file + "/below-a-file", missing + file + "/below-a-file" + advice},
  };
  for (const char* command : {"detect", "write", "reset"}) {
    for (const auto& [path, message] : cases) {
      const ProgramResult r = RunProgram("zorvan-flash", {command, "--port", path});
      EXPECT_EQ(r.status, 3) << command << " " << path;
      EXPECT_EQ(r.err, message) << command << " " << path;
    }
  }
  std::ifstream kept(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
}

TEST_F(FlashCommands, HexAndUsageErrorsExitTwoAndOne) {
  const ProgramResult no_file =
      RunProgram("zorvan-flash", {"write", "--port", "/dev/null", "--hex", dir_ + "/missing.hex"});
  EXPECT_EQ(no_file.status, 2);
  EXPECT_EQ(no_file.err, "Не вдається відкрити файл \"" + dir_ +
                             "/missing.hex\": немає такого файлу чи теки.\nЖодного приладу не зачеплено.\n");

  const ProgramResult no_port = RunProgram("zorvan-flash", {"write"});
  EXPECT_EQ(no_port.status, 1);
  EXPECT_EQ(no_port.err, "zorvan-flash write: потрібен --port ШЛЯХ (див. zorvan-flash --help)\n");
  const ProgramResult bad_rate = RunProgram("zorvan-flash", {"detect", "--port", "x", "--baud", "115201"});
  EXPECT_EQ(bad_rate.status, 1);
  EXPECT_EQ(bad_rate.err,
            "zorvan-flash detect: швидкість «115201» не одна з 110, 300, 600, 1200, 2400, 4800, 9600, 14400, "
            "19200, 38400, 56000, 57600, 115200, 128000, 256000 (див. zorvan-flash --help)\n");
  // An option whose value is missing is named as such.
  for (const std::vector<std::string>& args : {std::vector<std::string>{"detect", "--port"},
                                               {"write", "--port", "x", "--hex"}, {"check", "--dump-image"},
                                               {"records", "runs.jsonl", "--since"}}) {
    const ProgramResult r = RunProgram("zorvan-flash", args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zorvan-flash " + args[0] + ": " + args.back() + " потребує значення (див. zorvan-flash --help)\n");
  }

  // Help after a command is that command's help, whatever else was given, and no error.
  const ProgramResult write_help = RunProgram("zorvan-flash", {"write", "--port", "x", "--help"});
  EXPECT_EQ(write_help.status, 0) << write_help.err;
  EXPECT_EQ(write_help.out.rfind("Використання: zorvan-flash write --port ШЛЯХ", 0), 0u) << write_help.out;
  EXPECT_EQ(write_help.out.find("records ФАЙЛ"), std::string::npos) << write_help.out;
}

TEST_F(FlashCommands, CtrlCWhileBlocksAreWrittenStopsTheRunAndExitsEight) {
  SimProcess sim({"--baud", "0", "--geometry", "4,16,64", "--write-ms", "5"});
  Program flash("zorvan-flash", {"write", "--port", sim.PortPath(), "--hex", hex_});
  ASSERT_TRUE(flash.WaitForOutput("]   0%"));
  flash.Signal(SIGINT);
  const ProgramResult result = flash.Finish();
  EXPECT_EQ(result.status, 8);
  EXPECT_NE(result.out.find("Зупинено користувачем!\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("успішно"), std::string::npos);
}

TEST_F(FlashCommands, CtrlCBeforeAnythingIsErasedEndsAtOnce) {
  SimProcess sim(Device({"--silent-after", "0"}));
  Program flash("zorvan-flash", {"write", "--port", sim.PortPath()});
  std::this_thread::sleep_for(std::chrono::seconds(1));  // well inside the identification
  flash.Signal(SIGINT);
  const ProgramResult result = flash.Finish();
  EXPECT_EQ(result.status, 8);
  EXPECT_EQ(result.err, "\nzorvan-flash: перервано\n");
}

TEST_F(FlashCommands, ResetSaysSo) {
  SimProcess sim(Device());
  const ProgramResult flash = RunProgram("zorvan-flash", {"reset", "--port", sim.PortPath()});
  EXPECT_EQ(flash.status, 0);
  EXPECT_EQ(flash.out, "Скинуто прилад!!!\n");
}

}  // namespace
}  // namespace zorvan::testing
