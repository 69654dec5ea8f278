// The enabled state of the five operating controls and the status label after every
// operation, with the window driving a simulated device on a pseudo-terminal through the
// real serial port.

#include <QComboBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "app/app_test_registry.h"
#include "app/qt_gui_thread.h"
#include "app/test_harness.h"
#include "protocol/loader_port.h"
#include "serial/bcport.h"
#include "tests/adapter_link.h"
#include "tools/sim/sim_thread.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

namespace {

enum class Action { Detect, Write, WriteAndStop };

const char* const kFiveControls[] = {"ButtonWrite", "ButtonConect", "ButtonOpenHex", "cbPort", "cbBaudRate"};

// The five controls as '1' (enabled) and '0', in the order above.
QString EnabledState(const Windows& w) {
  QString state;
  for (const char* name : kFiveControls) state += w.Find<QWidget>(name)->isEnabled() ? '1' : '0';
  return state;
}

void SetEnabledState(Windows& w, const QString& state) {
  for (int i = 0; i < 5; ++i) w.Find<QWidget>(kFiveControls[i])->setEnabled(state[i] == '1');
}

// A device small enough for quick runs: 3 blocks of 2 chunks of 4 bytes, holding an
// older firmware.
sim::LoaderConfig SmallDevice() {
  sim::LoaderConfig config;
  config.geometry = {2, 4, 3};
  config.description = "250101";
  return config;
}

// The window's port as the program makes it, its line events delivered to the event loop.
std::unique_ptr<TBComPort> LoaderPort() {
  static QtGuiThread gui_thread([](const std::exception& error) { QFAIL(error.what()); });
  auto port = std::make_unique<TBComPort>();
  ApplyLoaderPortSettings(*port);
  port->SetGuiThread(gui_thread);
  return port;
}

// Calls `check` at every point where a running procedure lets messages through.
class AtEveryPoint {
 public:
  explicit AtEveryPoint(std::function<void()> check) {
    QObject::connect(&timer_, &QTimer::timeout, std::move(check));
    timer_.start(0);
  }

 private:
  QTimer timer_;
};

}  // namespace

class StateTableTest : public QObject {
  Q_OBJECT

 private slots:
  void LeavesTheControlsAndTheLabelAsTabled_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("loader_version");
    QTest::addColumn<int>("silent_after");  // -1: the device answers throughout
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("enabled");
    QTest::addColumn<QString>("label");
    const QString unchanged = QStringLiteral("before");
    const QString ready = Utf8("Мікропрограма готова до запису");
    // Five controls, as '1' enabled and '0' disabled: write, detect, open, port, rate.
    const auto row = [](const char* name, Action action, const char* description, const char* version, int silent,
                        const char* before, const char* enabled, const QString& label) {
      QTest::newRow(name) << int(action) << QString::fromLatin1(description) << QString::fromLatin1(version)
                          << silent << QString::fromLatin1(before) << QString::fromLatin1(enabled) << label;
    };
    row("detect: no loader found", Action::Detect, "250101", "02", 0, "01010", "01010", ready);
    row("detect: unknown loader version", Action::Detect, "250101", "03", -1, "01110", "01110", ready);
    row("detect: device identified", Action::Detect, "250101", "02", -1, "01010", "01110",
        Utf8("Відкрийте мікропрограму з розширенням - HEX"));
    row("write: no loader found", Action::Write, "250101", "02", 0, "01010", "01010", ready);
    row("write: unknown loader version", Action::Write, "250101", "03", -1, "11110", "11010", ready);
    row("write: refused by the version check", Action::Write, "260313", "02", -1, "10101", "10101", unchanged);
    row("write: a step failed for good", Action::Write, "250101", "02", 4, "10000", "01111",
        Utf8("Мікропрограма :  - помилка"));
    row("write: completed", Action::Write, "250101", "02", -1, "10000", "01111",
        Utf8("Мікропрограма : успішно завантажена в 12:34:56"));
    row("write: stopped by the operator", Action::WriteAndStop, "250101", "02", -1, "10000", "11111",
        Utf8("Зупинено користувачем"));
  }

  void LeavesTheControlsAndTheLabelAsTabled() {
    QFETCH(int, action);
    QFETCH(QString, description);
    QFETCH(QString, loader_version);
    QFETCH(int, silent_after);
    QFETCH(QString, before);
    QFETCH(QString, enabled);
    QFETCH(QString, label);
    sim::LoaderConfig config = SmallDevice();
    config.description = description.toStdString();
    config.loader_version = loader_version.toStdString();
    if (silent_after >= 0) config.faults.silent_after = static_cast<uint64_t>(silent_after);
    sim::SimThread sim(config);
    Windows w({QString::fromStdString(sim.PortPath())}, {}, LoaderPort());
    SetEnabledState(w, before);
    w.form->SetStatus("before");

    QString while_programming;
    bool stop_given = false;
    AtEveryPoint watch([&] {
      if (w.Status() == Utf8("Йде запис! Заборонено переривати!")) while_programming = EnabledState(w);
      if (Action(action) == Action::WriteAndStop && w.form->GaugeProgress() == 1 && !stop_given) {
        stop_given = true;
        w.Press(Qt::Key_Delete, Qt::ControlModifier);
      }
    });
    w.Run(Action(action) == Action::Detect ? &TMainForm::ButtonConectClick : &TMainForm::ButtonWriteClick);

    QCOMPARE(EnabledState(w), enabled);
    QCOMPARE(w.Status(), label);
    QVERIFY(w.desktop.Errors().isEmpty());
    if (Action(action) != Action::Detect && silent_after != 0 && loader_version == QStringLiteral("02") &&
        description != QStringLiteral("260313")) {
      QCOMPARE(while_programming, QStringLiteral("00100"));
    }
    if (QTest::currentDataTag() == QStringLiteral("detect: device identified")) QCOMPARE(w.form->focusWidget(), w.Find<QWidget>("ButtonOpenHex"));
    if (label.contains(Utf8("успішно"))) QCOMPARE(w.form->focusWidget(), w.Find<QWidget>("ButtonConect"));
  }

  // A port that cannot be opened ends the handler with its error; nothing else changes.
  void APortErrorEndsTheHandler() {
    Windows w({QStringLiteral("/dev/zorvan-no-such-port")}, {}, LoaderPort());
    SetEnabledState(w, QStringLiteral("01010"));
    w.form->SetStatus("before");
    w.desktop.Clear();
    w.Run(&TMainForm::ButtonWriteClick);
    QCOMPARE(w.desktop.Errors(), QStringList{Utf8("Спроба відкрити неіснуючий СОМ-порт.")});
    QCOMPARE(EnabledState(w), QStringLiteral("01010"));
    QCOMPARE(w.Status(), QStringLiteral("before"));
    QVERIFY(!w.form->Busy());
  }

  // A file named where the port belongs is left untouched and named as such.
  void AFileNamedAsThePortIsNamedInTheError() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("notes.txt"));
    std::ofstream(file.toStdString()) << "keep me";
    Windows w({file}, {}, LoaderPort());
    w.desktop.Clear();
    w.Run(&TMainForm::ButtonWriteClick);
    QCOMPARE(w.desktop.Errors(), QStringList{Utf8("Помилка функції SetupComm\nНеобхідно повторно відкрити програму!\n") +
                                             file + QStringLiteral(" is a file, not a serial port.")});
    std::ifstream kept(file.toStdString());
    QCOMPARE(std::string(std::istreambuf_iterator<char>(kept), {}), std::string("keep me"));
  }

  // The adapter pulled out in the middle of a run and plugged back in: once the stop
  // command has given the controls back, the write button programs the device that now
  // answers on the port's path, without a restart.
  void TheAdapterPluggedBackInIsProgrammedWithoutARestart() {
    sim::LoaderConfig pulled_out = SmallDevice();
    pulled_out.faults.hangup_after = 9;  // the first write of the second block
    sim::SimThread first(pulled_out);
    zorvan::testing::AdapterLink link;
    link.PointAt(first.PortPath());
    Windows w({QString::fromStdString(link.Path())}, {}, LoaderPort());
    w.Click("ButtonWrite");
    QCOMPARE(w.desktop.Errors().size(), 1);  // the port's read or write error
    w.Press(Qt::Key_Delete, Qt::ControlModifier);

    sim::SimThread plugged_back(SmallDevice());
    link.PointAt(plugged_back.PortPath());
    w.desktop.Clear();
    w.Click("ButtonWrite");
    QCOMPARE(w.Status(), Utf8("Мікропрограма : успішно завантажена в 12:34:56"));
    QVERIFY(w.desktop.Errors().isEmpty());
    std::string flash;
    for (uint8_t byte : plugged_back.Device().Flash()) flash += QString::asprintf("%02X", byte).toStdString();
    QCOMPARE(flash, w.form->State().ImageText.substr(0, flash.size()));
  }

  // The device the window programmed holds the carried firmware's bytes afterwards.
  void ProgramsTheCarriedFirmware() {
    sim::LoaderConfig config = SmallDevice();
    config.geometry = {4, 16, 8};  // the first 512 bytes
    sim::SimThread sim(config);
    Windows w({QString::fromStdString(sim.PortPath())}, {}, LoaderPort());
    w.Run(&TMainForm::ButtonWriteClick);
    QCOMPARE(w.Status(), Utf8("Мікропрограма : успішно завантажена в 12:34:56"));
    std::string flash;
    for (uint8_t byte : sim.Device().Flash()) flash += QString::asprintf("%02X", byte).toStdString();
    QCOMPARE(flash.substr(0, 1024), w.form->State().ImageText.substr(0, 1024));
  }
};

ZORVAN_APP_TEST(StateTableTest);

}  // namespace zorvan::app

#include "state_table_test.moc"
