// The enabled state of the five operating controls and the status label after every
// operation, with the window's logic driving a simulated device on a pseudo-terminal
// through the real serial port.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "tests/support/form_harness.h"
#include "protocol/loader_port.h"
#include "serial/bcport.h"
#include "tests/support/adapter_link.h"
#include "tools/sim/sim_thread.h"

namespace zorvan::app::testing {
namespace {

using zorvan::testing::AdapterLink;
using Strings = std::vector<std::string>;

enum class Action { Detect, Write, WriteAndStop };

const std::string kReady = "Мікропрограма готова до запису";
const std::string kUnchanged = "before";

// A device small enough for quick runs: 3 blocks of 2 chunks of 4 bytes, holding an
// older firmware.
sim::LoaderConfig SmallDevice() {
  sim::LoaderConfig config;
  config.geometry = {2, 4, 3};
  config.description = "250101";
  return config;
}

// The window's port as the program makes it.
std::unique_ptr<TBComPort> LoaderPort() {
  auto port = std::make_unique<TBComPort>();
  ApplyLoaderPortSettings(*port);
  return port;
}

struct Row {
  const char* event;
  Action action;
  const char* description;
  const char* loader_version;
  // -1: the device answers throughout; 0: it never answers; later, its replies come with
  // stray bytes in front after this many commands, which fails every attempt as soon as
  // the reply has come (silence would be waited out 400 times).
  int failing_after;
  const char* before;   // the five controls as '1' enabled and '0': write, detect, open, port, rate
  const char* enabled;  // afterwards
  std::string label;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.event; }

class StateTable : public ::testing::TestWithParam<Row> {};

TEST_P(StateTable, LeavesTheControlsAndTheLabelAsTabled) {
  const Row& row = GetParam();
  sim::LoaderConfig config = SmallDevice();
  config.description = row.description;
  config.loader_version = row.loader_version;
  if (row.failing_after == 0) config.faults.silent_after = 0;
  for (int n = row.failing_after + 1; row.failing_after > 0 && n <= row.failing_after + 400; ++n) {
    config.faults.AddScripted("noise@" + std::to_string(n));
  }
  sim::SimThread sim(config);
  Forms w({sim.PortPath()}, {}, LoaderPort());
  w.SetEnabledControls(row.before);
  w.form->SetStatus(kUnchanged);

  std::string while_programming;
  bool stop_given = false;
  w.main_view.on_process_messages = [&] {
    if (w.Status() == "Йде запис! Заборонено переривати!") while_programming = w.EnabledControls();
    if (row.action == Action::WriteAndStop && w.form->GaugeProgress() == 1 && !stop_given) {
      stop_given = true;
      w.Press(kKeyDelete, Modifier::Ctrl);
    }
  };
  if (row.action == Action::Detect) {
    w.form->ButtonConectClick();
  } else {
    w.form->ButtonWriteClick();
  }

  EXPECT_EQ(w.EnabledControls(), row.enabled);
  EXPECT_EQ(w.Status(), row.label);
  EXPECT_TRUE(w.desktop.Errors().empty());
  const bool programmed = row.action != Action::Detect && row.failing_after != 0 &&
                          std::string(row.loader_version) == "02" && std::string(row.description) != "260313";
  if (programmed) {
    EXPECT_EQ(while_programming, "00100");
  }
  if (std::string(row.event) == "detect: device identified") {
    EXPECT_EQ(w.main_view.focused, "ButtonOpenHex");
  }
  if (std::string(row.event) == "write: completed") {
    EXPECT_EQ(w.main_view.focused, "ButtonConect");
  }
}

INSTANTIATE_TEST_SUITE_P(
    MainForm, StateTable,
    ::testing::Values(
        Row{"detect: no loader found", Action::Detect, "250101", "02", 0, "01010", "01010", kReady},
        Row{"detect: unknown loader version", Action::Detect, "250101", "03", -1, "01110", "01110", kReady},
        Row{"detect: device identified", Action::Detect, "250101", "02", -1, "01010", "01110",
            "Відкрийте мікропрограму з розширенням - HEX"},
        Row{"write: no loader found", Action::Write, "250101", "02", 0, "01010", "01010", kReady},
        Row{"write: unknown loader version", Action::Write, "250101", "03", -1, "11110", "11010", kReady},
        Row{"write: refused by the version check", Action::Write, "260313", "02", -1, "10101", "10101",
            kUnchanged},
        Row{"write: a step failed for good", Action::Write, "250101", "02", 4, "10000", "01111",
            "Мікропрограма :  - помилка"},
        Row{"write: completed", Action::Write, "250101", "02", -1, "10000", "01111",
            "Мікропрограма : успішно завантажена в 12:34:56"},
        Row{"write: stopped by the operator", Action::WriteAndStop, "250101", "02", -1, "10000", "11111",
            "Зупинено користувачем"}),
    [](const ::testing::TestParamInfo<Row>& info) {
      std::string name;
      for (char c : std::string(info.param.event)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name;
    });

// A port that cannot be opened ends the run as a failed run ends: every operating control
// back, the label naming the error, and nothing asking the operator to restart.
TEST(MainFormStates, APortErrorGivesTheControlsBackAndNamesTheError) {
  Forms w({"/dev/zorvan-no-such-port"}, {}, LoaderPort());
  w.SetEnabledControls("01010");
  w.form->SetStatus(kUnchanged);
  w.desktop.Clear();
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.desktop.Errors(), Strings{"Спроба відкрити неіснуючий СОМ-порт."});
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_EQ(w.Status(), "Запис не завершено. Спроба відкрити неіснуючий СОМ-порт");
  EXPECT_FALSE(w.form->Busy());
}

// The device's flash as the image's digits.
std::string FlashDigits(sim::SimThread& sim) {
  std::string flash;
  char digits[3];
  for (uint8_t byte : sim.Device().Flash()) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    flash += digits;
  }
  return flash;
}

// The device the window programmed holds the carried firmware's bytes afterwards.
TEST(MainFormStates, ProgramsTheCarriedFirmware) {
  sim::LoaderConfig config = SmallDevice();
  config.geometry = {4, 16, 8};  // the first 512 bytes
  sim::SimThread sim(config);
  Forms w({sim.PortPath()}, {}, LoaderPort());
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.Status(), "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_EQ(FlashDigits(sim).substr(0, 1024), w.form->State().ImageText.substr(0, 1024));
}

// A file named where the port belongs is left untouched and named as such.
TEST(MainFormStates, AFileNamedAsThePortIsNamedInTheError) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("zorvan-notes-" + std::to_string(getpid()) + ".txt");
  std::ofstream(file) << "keep me";
  Forms w({file.string()}, {}, LoaderPort());
  w.desktop.Clear();
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.desktop.Errors(),
            Strings{"Помилка функції SetupComm\nПеревірте з'єднання з приладом і натисніть «Прошити» ще раз!\n" +
                    file.string() + " is a file, not a serial port."});
  std::ifstream kept(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
  std::filesystem::remove(file);
}

// The adapter pulled out in the middle of a run, or of a detect, and plugged back in: the
// window is usable again at once, and the next press works on the device that now answers
// on the port's path, without a restart.
TEST(MainFormStates, TheAdapterPluggedBackInIsProgrammedWithoutARestart) {
  sim::LoaderConfig pulled_out = SmallDevice();
  pulled_out.faults.hangup_after = 9;  // the first write of the second block
  sim::SimThread first(pulled_out);
  AdapterLink link;
  link.PointAt(first.PortPath());
  Forms w({link.Path()}, {}, LoaderPort());
  w.form->ButtonWriteClick();
  ASSERT_EQ(w.desktop.Errors().size(), 1u);
  EXPECT_THAT(w.desktop.Errors()[0],
              ::testing::AnyOf("Помилка запису в порт.\nПеревірте з'єднання з приладом і натисніть «Прошити» ще раз!",
                               "Помилка читання з порта\nПеревірте з'єднання з приладом і натисніть «Прошити» ще раз!"));
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_THAT(w.Status(), ::testing::StartsWith("Запис не завершено. Помилка "));
  EXPECT_EQ(w.form->GaugeProgress(), 0);
  EXPECT_EQ(w.form->ChunkBarPosition(), 0);

  sim::SimThread plugged_back(SmallDevice());
  link.PointAt(plugged_back.PortPath());
  w.desktop.Clear();
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.Status(), "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_TRUE(w.desktop.Errors().empty());
  const std::string flash = FlashDigits(plugged_back);
  EXPECT_EQ(flash, w.form->State().ImageText.substr(0, flash.size()));
}

TEST(MainFormStates, TheAdapterPulledOutDuringADetectLeavesTheDetectButtonUsable) {
  sim::LoaderConfig pulled_out = SmallDevice();
  pulled_out.faults.hangup_after = 1;  // the Identify is answered, the Describe is not
  sim::SimThread first(pulled_out);
  AdapterLink link;
  link.PointAt(first.PortPath());
  Forms w({link.Path()}, {}, LoaderPort());
  w.form->ButtonConectClick();
  ASSERT_EQ(w.desktop.Errors().size(), 1u);
  EXPECT_THAT(w.desktop.Errors()[0], ::testing::EndsWith("\nПеревірте з'єднання з приладом і натисніть «Визначити» ще раз!"));
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_THAT(w.Status(), ::testing::StartsWith("Прилад не визначено. Помилка "));

  sim::SimThread plugged_back(SmallDevice());
  link.PointAt(plugged_back.PortPath());
  w.desktop.Clear();
  w.form->ButtonConectClick();
  EXPECT_TRUE(w.desktop.Errors().empty());
  EXPECT_EQ(w.Status(), "Відкрийте мікропрограму з розширенням - HEX");
}

}  // namespace
}  // namespace zorvan::app::testing
