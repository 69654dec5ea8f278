// The five keyboard commands as the main window's key handler gives them, also nested
// inside a running preparation, identification or programming run, and the actions
// refused while such work is under way.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "tests/support/form_harness.h"
#include "common/operator_surface.h"

namespace zorvan::app::testing {
namespace {

using Strings = std::vector<std::string>;

const std::string kStopMessage =
    "                   Зупинено користувачем!\r\n"
    "         Мікропрограма записана частково!\r\n"
    "Необхідно повторно вибрати файл прошивки,\r\n"
    "    і провести запис, інакще в подальшому\r\n"
    "             прилад буде не працездатний!";

const std::string kCompletionMessage =
    std::string(41, ' ') +
    "Мікропрограма успішно завантажена в 12:34:56\r\n"
    "Після запису необхідно провести процедуру встановлення початкових установок (при наявності)\r\n"
    "                  Після запису необхідно провести встановлення конфігурації (при наявності)";

// Presses `key` at the window's next message point, as a key the operator pressed
// during a run waits for the run to let messages through.
void PressAtNextPoint(Forms& w, uint16_t key, ShiftState shift) {
  w.main_view.on_process_messages = [&w, key, shift] {
    w.main_view.on_process_messages = nullptr;
    w.Press(key, shift);
  };
}

TEST(KeyboardCommands, F1ShowsTheHelpWindowWhateverTheModifiers) {
  for (ShiftState shift : {ShiftState(), ShiftState(Modifier::Ctrl), Modifier::Shift | Modifier::Alt}) {
    Forms w;
    w.desktop.Clear();
    w.Press(kKeyF1, shift);
    EXPECT_TRUE(w.help->Visible());
    EXPECT_EQ(w.help_view.focused, "Button1");
    EXPECT_TRUE(w.desktop.beeps.empty());
  }
}

// The message's five lines are padded to 41 characters each.
TEST(KeyboardCommands, StopActsOnlyOnceTheGaugeHasMoved) {
  Forms w;
  w.desktop.Clear();
  w.SetEnabledControls("00000");
  w.Press(kKeyDelete, Modifier::Ctrl);
  EXPECT_EQ(w.form->State().StopFlag, 0);
  EXPECT_TRUE(w.desktop.boxes.empty());
  EXPECT_EQ(w.EnabledControls(), "00000");

  w.form->SetGaugeProgress(3);
  w.Press(kKeyDelete, Modifier::Ctrl | Modifier::Shift);
  EXPECT_EQ(w.form->State().StopFlag, -1);
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_EQ(w.Status(), "Зупинено користувачем");
  EXPECT_EQ(w.desktop.Messages(), Strings{kStopMessage});
  EXPECT_EQ(std::count_if(kStopMessage.begin(), kStopMessage.end(), [](char c) { return (c & 0xC0) != 0x80; }),
            213);  // characters, not bytes
  EXPECT_EQ(w.form->GaugeProgress(), 3);
  EXPECT_TRUE(w.desktop.beeps.empty());
}

TEST(KeyboardCommands, TheLettersDoNothingWithoutCtrl) {
  Forms w;
  w.desktop.Clear();
  w.main_view.acts.clear();
  w.form->SetGaugeProgress(3);
  for (uint16_t key : {kKeyDelete, kKeyR, kKeyL}) w.Press(key);
  w.Press(kKeyE, Modifier::Shift);
  EXPECT_EQ(w.form->State().StopFlag, 0);
  EXPECT_TRUE(w.desktop.boxes.empty());
  EXPECT_EQ(w.port->openings, 0);
  EXPECT_TRUE(w.main_view.acts.empty());
}

TEST(KeyboardCommands, RefreshListsThePortsAgain) {
  Forms w;
  w.desktop.Clear();
  w.desktop.system_ports = Strings{};
  w.Press(kKeyR, Modifier::Ctrl | Modifier::Alt);
  EXPECT_TRUE(w.main_view[MainControl::cbPort].items.empty());
  EXPECT_EQ(w.main_view[MainControl::cbPort].item_index, -1);
  EXPECT_EQ(w.desktop.Messages(), Strings{"Порти оновлено!"});
}

TEST(KeyboardCommands, RefreshKeepsThePortListWhenTheTableIsMissing) {
  Forms w;
  w.form->cbPortChange(1);
  w.desktop.Clear();
  w.desktop.system_ports.reset();
  w.Press(kKeyR, Modifier::Ctrl);
  EXPECT_EQ(w.desktop.Errors(), Strings{"Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!"});
  EXPECT_TRUE(w.desktop.Messages().empty());
  EXPECT_EQ(w.main_view[MainControl::cbPort].items.size(), 2u);
  EXPECT_EQ(w.form->PortName(), "/dev/ttyUSB0");
}

TEST(KeyboardCommands, ResetSendsTheResetTwiceOnTheChosenPort) {
  Forms w;
  w.form->cbPortChange(1);
  w.desktop.Clear();
  w.Press(kKeyL, Modifier::Ctrl | Modifier::Alt);
  EXPECT_EQ(w.port->port_name, "/dev/ttyUSB0");
  EXPECT_EQ(w.port->written, (Strings{"w0101;", "w0101;"}));
  EXPECT_FALSE(w.port->is_open);
  EXPECT_EQ(w.desktop.beeps, std::vector<unsigned>{MB_ICONEXCLAMATION});
  EXPECT_EQ(w.desktop.Messages(), Strings{"Скинуто прилад!!!"});
  EXPECT_EQ(w.form->State().ReplyText, "w8100;");
}

// A stop in a later block is heard at the start of the next block; the port stays open
// and nothing more is sent. The write button the stop enables again is refused until
// the run has ended.
TEST(KeyboardCommands, StopEndsARunAtTheNextBlock) {
  Forms w;
  w.desktop.Clear();
  w.port->on_write = [&](const std::string& frame) {
    if (frame.starts_with("w04000008")) PressAtNextPoint(w, kKeyDelete, Modifier::Ctrl);
  };
  w.desktop.on_box = [&](const RecordingDesktop::Box&) { w.form->ButtonWriteClick(); };
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.desktop.Messages(), Strings{kStopMessage});
  EXPECT_EQ(w.port->Count("w0202;"), 1);  // no second run
  EXPECT_EQ(w.port->Count("w0606;"), 4);  // blocks 1 and 2 finished
  EXPECT_EQ(w.port->written.back(), "w0606;");
  EXPECT_TRUE(w.port->is_open);
  EXPECT_EQ(w.Status(), "Зупинено користувачем");
  EXPECT_EQ(w.EnabledControls(), "11111");
  EXPECT_EQ(w.form->GaugeProgress(), 2);
  EXPECT_FALSE(w.form->Busy());
}

// The gauge stands at 0 during the whole first block: the stop does nothing there.
TEST(KeyboardCommands, StopCannotEndTheFirstBlock) {
  Forms w;
  w.desktop.Clear();
  w.port->on_write = [&](const std::string& frame) {
    if (frame.starts_with("w04000000")) PressAtNextPoint(w, kKeyDelete, Modifier::Ctrl);
  };
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.desktop.Messages(), Strings{kCompletionMessage});
  EXPECT_EQ(w.port->Count("w0606;"), 16);
  EXPECT_EQ(w.form->State().StopFlag, 0);
}

// Given while the device is still identified, the stop shows its message and enables
// the controls, but the programming clears the request as it begins and runs on.
TEST(KeyboardCommands, StopCannotEndTheIdentification) {
  Forms w;
  w.desktop.Clear();
  w.port->on_write = [&](const std::string& frame) {
    if (frame == "wwwww" && w.port->Count("wwwww") == 1) PressAtNextPoint(w, kKeyDelete, Modifier::Ctrl);
  };
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.desktop.Messages(), (Strings{kStopMessage, kCompletionMessage}));
  EXPECT_EQ(w.port->Count("w0606;"), 16);
  EXPECT_EQ(w.Status(), "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_FALSE(w.main_view[MainControl::ButtonWrite].enabled);
  EXPECT_EQ(w.main_view.focused, "ButtonConect");
}

// A reset or a new port list in the middle of a run would pull the port from under it;
// a second detect, a new file or another rate would disturb the run too.
TEST(BusyRefusals, ARunRefusesEverythingButTheStop) {
  Forms w;
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back("/no/such/file.hex");
  w.port->on_write = [&](const std::string& frame) {
    if (!frame.starts_with("w04000008")) return;
    w.main_view.on_process_messages = [&] {
      w.main_view.on_process_messages = nullptr;
      w.Press(kKeyL, Modifier::Ctrl);
      w.Press(kKeyR, Modifier::Ctrl);
      w.form->ButtonConectClick();
      w.form->ButtonOpenHexClick();
      w.form->cbBaudRateChange(3);
    };
  };
  w.form->ButtonWriteClick();
  EXPECT_EQ(w.port->openings, 1);
  EXPECT_EQ(w.port->Count("w0101;"), 2);  // the completion's own reset
  EXPECT_EQ(w.port->Count("w0202;"), 1);
  EXPECT_EQ(w.port->baud_rates, std::vector<TBaudRate>{br115200});  // the run's own
  EXPECT_TRUE(w.desktop.dialog_filters.empty());
  EXPECT_EQ(w.desktop.Messages(), Strings{kCompletionMessage});
  EXPECT_TRUE(w.desktop.Errors().empty());
  EXPECT_FALSE(w.form->Busy());
}

// While the image is rebuilt the window stays responsive, but writing, detecting,
// resetting and refreshing the ports wait for the new image.
TEST(BusyRefusals, APreparationRefusesTheDeviceCommands) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "zorvan-busy-test.hex";
  std::ofstream(file) << ":0400000043EF01F0D9\n:00000001FF\n";
  Forms w;
  w.desktop.Clear();
  w.desktop.dialog_answers.push_back(file.string());
  w.main_view.on_process_messages = [&] {
    w.main_view.on_process_messages = nullptr;
    w.Press(kKeyL, Modifier::Ctrl);
    w.Press(kKeyR, Modifier::Ctrl);
    w.form->ButtonWriteClick();
    w.form->ButtonConectClick();
  };
  w.form->ButtonOpenHexClick();
  std::filesystem::remove(file);
  EXPECT_TRUE(w.port->written.empty());
  EXPECT_EQ(w.port->openings, 0);
  EXPECT_EQ(w.desktop.Messages(), Strings{"Мікропрограма відкрита,\r\n   запишіть її в прилад"});
  EXPECT_FALSE(w.form->Busy());
}

}  // namespace
}  // namespace zorvan::app::testing
