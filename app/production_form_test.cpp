// The production window's logic on a recording view, with scripted ports in place of the
// ports' threads: what each row shows as its port's cycle moves on, the line's counts and
// bells, starting and stopping ports, a port that vanishes, and the run records.

#include "app/production_form.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "app/app_texts.h"
#include "app/window_arguments.h"
#include "firmware/firmware_source.h"
#include "records/run_record.h"
#include "tests/support/recording_desktop.h"
#include "tests/support/recording_views.h"

namespace zorvan::app::testing {
namespace {

constexpr char kPortA[] = "/dev/pts/7";
constexpr char kPortB[] = "/dev/pts/8";

// The ports of a line as a script drives them: each reports what the test tells it, on
// the test's thread, and notes the ends and stops it is asked for.
class ScriptedLine {
 public:
  class Port final : public LinePortControl {
   public:
    Port(ScriptedLine& line, std::string name, LinePortObserver& observer)
        : observer(observer), line_(line), name_(std::move(name)) {}
    ~Port() override { line_.ports_.erase(name_); }
    void End() override { ++ends; }
    void Stop() override { ++stops; }

    LinePortObserver& observer;
    int ends = 0;
    int stops = 0;

   private:
    ScriptedLine& line_;
    std::string name_;
  };

  LinePortStarter Starter() {
    return [this](LinePortSettings settings, LinePortObserver& observer) {
      auto port = std::make_unique<Port>(*this, settings.port, observer);
      ports_[settings.port] = port.get();
      return port;
    };
  }
  bool Runs(const std::string& name) const { return ports_.count(name) > 0; }
  Port& operator[](const std::string& name) { return *ports_.at(name); }

 private:
  std::map<std::string, Port*> ports_;
};

ProductionFirmware CarriedFirmware() {
  ProductionFirmware firmware;
  firmware.name = "260313";
  firmware.sha256 = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
  return firmware;
}

LineRun DeviceRunOf(DeviceResult result, std::optional<RunEnding> ending, const std::string& message, double seconds) {
  LineRun run;
  run.result = result;
  run.ending = ending;
  run.message = message;
  run.description = "250101";
  run.seconds = seconds;
  return run;
}

struct Line {
  explicit Line(std::vector<std::string> ports = {kPortA, kPortB})
      : form(view, desktop, std::move(ports), scripted.Starter()) {
    desktop.really_sleep = false;
  }
  // The port `name` reports the phase; the form takes it in.
  void Show(const std::string& name, CyclePhase phase, const CycleTally& tally, const std::string& detail = {}) {
    scripted[name].observer.PhaseShown(phase, tally, detail);
    form.DeliverEvents();
  }
  bool Done(const std::string& name, const LineRun& run) {
    const bool go_on = scripted[name].observer.DeviceDone(run);
    form.DeliverEvents();
    return go_on;
  }
  void Ended(const std::string& name, const CycleTally& tally) {
    scripted[name].observer.PortEnded(tally);
    form.DeliverEvents();
  }

  RecordingProductionView view;
  RecordingDesktop desktop;
  ScriptedLine scripted;
  TProductionForm form;
};

TEST(ProductionForm, EachRowShowsItsPortsStatesInTurnAndTheLineCountsAndRingsPerDevice) {
  Line line;
  line.form.Open(CarriedFirmware(), {kPortA, kPortB}, true);
  EXPECT_EQ(line.view.header, "Мікропрограма: 260313 (вбудована)  SHA-256: 0123456789ab");
  ASSERT_EQ(line.view.rows.size(), 2u);
  EXPECT_TRUE(line.scripted.Runs(kPortA) && line.scripted.Runs(kPortB));
  EXPECT_EQ(line.view.rows[0].button, kLineStopPort);
  EXPECT_FALSE(line.view.start_enabled);
  EXPECT_TRUE(line.view.stop_enabled);

  CycleTally a, b;
  line.Show(kPortA, CyclePhase::WaitingForDevice, a);
  EXPECT_EQ(line.view.rows[0].state, "Чекаю прилад");
  EXPECT_EQ(line.view.rows[0].colour, RowColour::Grey);

  line.Show(kPortA, CyclePhase::Programming, a, "250101");
  line.scripted[kPortA].observer.RunPercent(37);
  line.form.DeliverEvents();
  EXPECT_EQ(line.view.rows[0].state, "Йде запис 37%");
  EXPECT_EQ(line.view.rows[0].colour, RowColour::Blue);
  EXPECT_EQ(line.view.rows[0].percent, 37);

  EXPECT_TRUE(line.Done(kPortA, DeviceRunOf(DeviceResult::Passed, RunEnding::Completed, "Мікропрограма записана", 41)));
  a.Count(DeviceResult::Passed, 41);
  line.Show(kPortA, CyclePhase::Passed, a);
  EXPECT_EQ(line.view.rows[0].state, "Готово, замініть");
  EXPECT_EQ(line.view.rows[0].colour, RowColour::Green);
  EXPECT_EQ(line.view.rows[0].percent, -1);
  EXPECT_EQ(line.view.rows[0].last_device, "250101  0:41");
  EXPECT_EQ(line.view.rows[0].counts, "Прошито 1, збоїв 0, відмов 0");

  // The other port meanwhile: a device whose line went dead, one refused, one already
  // programmed, and one that had gone before its run began (neither counted nor rung).
  line.Show(kPortB, CyclePhase::Programming, b, "250101");
  line.Done(kPortB, DeviceRunOf(DeviceResult::PortLost, std::nullopt, "Порт не відповідає", 12));
  b.Count(DeviceResult::PortLost, 12);
  line.Show(kPortB, CyclePhase::Failed, b);
  EXPECT_EQ(line.view.rows[1].state, "Збій, замініть");
  EXPECT_EQ(line.view.rows[1].colour, RowColour::Red);
  line.Show(kPortB, CyclePhase::Programming, b, "260314");
  line.Done(kPortB, DeviceRunOf(DeviceResult::Refused, RunEnding::Refused, "Версія новіша", 1));
  b.Count(DeviceResult::Refused, 1);
  line.Show(kPortB, CyclePhase::Refused, b);
  EXPECT_EQ(line.view.rows[1].colour, RowColour::Amber);
  line.Show(kPortB, CyclePhase::AlreadyProgrammed, b);
  EXPECT_EQ(line.view.rows[1].state, "Вже прошитий, замініть");
  EXPECT_EQ(line.view.rows[1].colour, RowColour::Amber);
  line.Done(kPortB, DeviceRunOf(DeviceResult::Gone, RunEnding::NotFound, "Прилад не знайдено", 1));

  EXPECT_EQ(line.view.rows[0].state, "Готово, замініть");  // each row its own port's
  EXPECT_EQ(line.view.rows[1].counts, "Прошито 0, збоїв 1, відмов 1");
  EXPECT_EQ(line.view.totals, "Разом: Прошито 1, збоїв 1, відмов 1, 0:18/прилад");
  EXPECT_EQ(line.view.rings, (std::vector<int>{1, 3, 2}));
  ASSERT_EQ(line.view.log.size(), 3u);
  EXPECT_EQ(line.view.log[0], "12:34:56  /dev/pts/7  250101  Мікропрограма записана  (0:41)");
  EXPECT_TRUE(line.desktop.boxes.empty());
}

TEST(ProductionForm, AStopEndsEachPortAfterItsRunAndASecondOrTheStopKeyStopsTheRuns) {
  Line line;
  line.form.Open(CarriedFirmware(), {kPortA, kPortB}, true);
  CycleTally tally;
  line.Show(kPortA, CyclePhase::Programming, tally, "250101");
  line.Show(kPortB, CyclePhase::WaitingForDevice, tally);

  line.form.StopAllClick();
  EXPECT_EQ(line.scripted[kPortA].ends, 1);
  EXPECT_EQ(line.scripted[kPortA].stops, 0);
  EXPECT_EQ(line.scripted[kPortB].ends, 1);
  EXPECT_EQ(line.view.rows[0].state, "Останній запис");
  EXPECT_EQ(line.view.rows[0].button, kLineStopRun);
  line.Ended(kPortB, tally);
  EXPECT_EQ(line.view.rows[1].state, "Вимкнено");
  EXPECT_EQ(line.view.rows[1].button, kLineStartPort);
  EXPECT_TRUE(line.view.start_enabled);
  EXPECT_TRUE(line.view.stop_enabled);

  line.form.StopAllClick();
  EXPECT_EQ(line.scripted[kPortA].stops, 1);
  EXPECT_FALSE(line.view.rows[0].button_enabled);
  line.Ended(kPortA, tally);
  EXPECT_FALSE(line.form.Running());
  EXPECT_FALSE(line.view.stop_enabled);

  // A row's button starts and ends its port alone.
  line.form.RowButtonClick(1);
  EXPECT_TRUE(line.scripted.Runs(kPortB));
  EXPECT_FALSE(line.scripted.Runs(kPortA));
  line.form.RowButtonClick(1);
  EXPECT_EQ(line.scripted[kPortB].ends, 1);
  EXPECT_EQ(line.scripted[kPortB].stops, 0);

  // Ctrl+Delete stops the runs at once, as in the main window.
  uint16_t key = kKeyDelete;
  line.form.FormKeyDown(key, Modifier::Ctrl);
  EXPECT_EQ(line.scripted[kPortB].stops, 1);

  // Closing the window ends the line; it hides once every port has ended.
  line.form.FormClose();
  EXPECT_TRUE(line.view.visible);
  line.Ended(kPortB, tally);
  EXPECT_FALSE(line.view.visible);
}

TEST(ProductionForm, APortThatVanishesKeepsItsRowSayingSoUntilItReturns) {
  Line line(std::vector<std::string>{});
  line.desktop.system_ports = std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"};
  line.desktop.port_details["/dev/ttyUSB0"].Manufacturer = "FTDI";
  line.desktop.port_details["/dev/ttyUSB0"].Product = "FT232R USB UART";
  line.form.Open(CarriedFirmware(), {}, false);
  ASSERT_EQ(line.view.choices.size(), 2u);
  EXPECT_EQ(line.view.choices[0].description, "FTDI FT232R USB UART");
  EXPECT_TRUE(line.view.rows.empty());

  line.form.PortTicked(0, true);
  ASSERT_EQ(line.view.rows.size(), 1u);
  EXPECT_EQ(line.view.rows[0].port, "/dev/ttyUSB0 — FTDI FT232R USB UART");
  EXPECT_FALSE(line.scripted.Runs("/dev/ttyUSB0"));
  line.form.StartAllClick();
  CycleTally tally;
  line.Show("/dev/ttyUSB0", CyclePhase::PortMissing, tally);
  EXPECT_EQ(line.view.rows[0].state, "Немає порту");
  EXPECT_EQ(line.view.rows[0].colour, RowColour::Dark);

  // The system lists it no more: it stays in the list, ticked, and its row stays; a
  // running port cannot be unticked.
  line.desktop.system_ports = std::vector<std::string>{"/dev/ttyUSB1"};
  line.form.Tick();
  ASSERT_EQ(line.view.choices.size(), 2u);
  EXPECT_EQ(line.view.choices[1].name, "/dev/ttyUSB0");
  EXPECT_TRUE(line.view.choices[1].ticked);
  line.form.PortTicked(1, false);
  EXPECT_TRUE(line.view.choices[1].ticked);
  ASSERT_EQ(line.view.rows.size(), 1u);

  line.desktop.system_ports = std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"};
  line.form.Tick();
  line.Show("/dev/ttyUSB0", CyclePhase::WaitingForDevice, tally);
  EXPECT_EQ(line.view.rows[0].state, "Чекаю прилад");
  EXPECT_EQ(line.view.rows[0].port, "/dev/ttyUSB0 — FTDI FT232R USB UART");
}

TEST(ProductionForm, RecordsEveryRunInThePickedFileAndARecordNotWrittenStopsItsPort) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("zorvan-production-records-" +
                                                     std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) +
                                                     ".jsonl");
  std::filesystem::remove(path);
  Line line;
  line.form.Open(CarriedFirmware(), {kPortA}, true);
  line.desktop.dialog_answers = {path.string()};
  line.form.RecordFileClick();
  EXPECT_EQ(line.desktop.dialog_filters.back(), "JSON Lines|*.jsonl");
  EXPECT_EQ(line.view.record_file, path.string());

  LineRun passed = DeviceRunOf(DeviceResult::Passed, RunEnding::Completed, "Мікропрограма записана", 41);
  passed.loader_version = "02";
  passed.calibration = "Автокалібровка: 1.0.2";
  passed.reach = {true, 128, 128, 131072};
  EXPECT_TRUE(line.Done(kPortA, passed));
  EXPECT_TRUE(line.Done(kPortA, DeviceRunOf(DeviceResult::Failed, RunEnding::Failed, "Збій запису", 9)));
  const std::vector<RunRecord> records = ParseRecords(ReadTextFile(path));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].port, kPortA);
  EXPECT_EQ(records[0].result, "Мікропрограма записана");
  EXPECT_EQ(records[0].exit_status, 0);
  EXPECT_EQ(records[0].loader_version, "02");
  EXPECT_EQ(records[0].commit_pause, 2);
  EXPECT_EQ(records[0].blocks_done, 128);
  EXPECT_EQ(records[0].firmware_version, "260313");
  EXPECT_FALSE(records[0].partly_written);
  EXPECT_EQ(records[1].exit_status, 7);  // as zorvan-flash write would have ended

  // A cancelled dialog keeps no file.
  line.form.RecordFileClick();
  EXPECT_EQ(line.view.record_file, "");
  line.Done(kPortA, passed);
  EXPECT_EQ(ParseRecords(ReadTextFile(path)).size(), 2u);
  std::filesystem::remove(path);

#ifndef _WIN32
  // A file that takes no more: the port that could not record its device ends, and says why.
  line.desktop.dialog_answers = {"/dev/full"};
  line.form.RecordFileClick();
  EXPECT_FALSE(line.Done(kPortA, passed));
  line.Ended(kPortA, {});
  EXPECT_EQ(line.view.rows[0].state, kLineNotRecorded);
  EXPECT_EQ(line.view.rows[0].colour, RowColour::Dark);
  EXPECT_NE(line.view.log.back().find("«/dev/full»"), std::string::npos) << line.view.log.back();
#endif
}

TEST(WindowArguments, PortsAfterProductionAreTickedAndOfferedAndStartNeedsProduction) {
  const WindowArguments plain = ParseWindowArguments({"/dev/pts/3"});
  EXPECT_EQ(plain.virtual_ports, (std::vector<std::string>{"/dev/pts/3"}));
  EXPECT_FALSE(plain.production);

  const WindowArguments line = ParseWindowArguments({"/dev/pts/3", "--production", "/dev/pts/4", "/dev/pts/3", "--start"});
  EXPECT_TRUE(line.problem.empty());
  EXPECT_TRUE(line.production && line.start);
  EXPECT_EQ(line.production_ports, (std::vector<std::string>{"/dev/pts/4", "/dev/pts/3"}));
  EXPECT_EQ(line.virtual_ports, (std::vector<std::string>{"/dev/pts/3", "/dev/pts/4"}));

  EXPECT_FALSE(ParseWindowArguments({"--start", "/dev/pts/3"}).problem.empty());
  EXPECT_FALSE(ParseWindowArguments({"--produce"}).problem.empty());
}

}  // namespace
}  // namespace zorvan::app::testing
