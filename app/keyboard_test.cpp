// The five keyboard commands as the operator gives them, also nested inside a running
// identification or programming run.

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "app/app_test_registry.h"
#include "app/test_harness.h"
#include "common/operator_surface.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

namespace {

const char* const kFiveControls[] = {"ButtonWrite", "ButtonConect", "ButtonOpenHex", "cbPort", "cbBaudRate"};

QString StopMessage() {
  return Utf8(
      "                   Зупинено користувачем!\r\n"
      "         Мікропрограма записана частково!\r\n"
      "Необхідно повторно вибрати файл прошивки,\r\n"
      "    і провести запис, інакще в подальшому\r\n"
      "             прилад буде не працездатний!");
}

QString CompletionMessage() {
  return QString(41, QLatin1Char(' ')) +
         Utf8("Мікропрограма успішно завантажена в 12:34:56\r\n"
              "Після запису необхідно провести процедуру встановлення початкових установок (при наявності)\r\n"
              "                  Після запису необхідно провести встановлення конфігурації (при наявності)");
}

}  // namespace

class KeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsTheHelpWindowWithF1WhateverTheModifiers() {
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ControlModifier),
                                            Qt::ShiftModifier | Qt::AltModifier}) {
      Windows w;
      w.desktop.Clear();
      w.Press(Qt::Key_F1, modifiers);
      QVERIFY(w.help->isVisible());
      QVERIFY(w.desktop.beeps.empty());
    }
  }

  void LeavesTheRunAloneWhenTheGaugeIsEmpty() {
    Windows w;
    w.desktop.Clear();
    w.Find<QWidget>("ButtonWrite")->setEnabled(false);
    w.Press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(w.form->State().StopFlag, 0);
    QVERIFY(w.desktop.boxes.empty());
    QVERIFY(!w.Find<QWidget>("ButtonWrite")->isEnabled());
  }

  // The message's five lines are padded to 41 characters each.
  void StopsWheneverTheGaugeHasMoved() {
    Windows w;
    w.desktop.Clear();
    w.form->SetGaugeProgress(3);
    for (const char* name : kFiveControls) w.Find<QWidget>(name)->setEnabled(false);
    w.Press(Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.form->State().StopFlag, -1);
    for (const char* name : kFiveControls) QVERIFY2(w.Find<QWidget>(name)->isEnabled(), name);
    QCOMPARE(w.Status(), Utf8("Зупинено користувачем"));
    QCOMPARE(w.desktop.Messages(), QStringList{StopMessage()});
    QCOMPARE(StopMessage().size(), 213);
    QCOMPARE(w.form->GaugeProgress(), 3);
    QVERIFY(w.desktop.beeps.empty());
  }

  // The stop's box takes the focus from the window; as the unused key travels on to the
  // window itself, the stop must not be given a second time.
  void GivesACommandOnceWhenItsBoxTakesTheFocus() {
    Windows w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    w.Find<QWidget>("cbPort")->setFocus();
    w.form->SetGaugeProgress(3);
    w.desktop.Clear();
    w.desktop.on_box = [](const testing::RecordingDesktop::Box&) {
      if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    };
    w.Press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(w.desktop.Messages().size(), 1);
    w.Find<QWidget>("cbPort")->setFocus();
    w.Press(Qt::Key_Delete, Qt::ControlModifier);  // the next press is a command again
    QCOMPARE(w.desktop.Messages().size(), 2);
  }

  void IgnoresTheLettersWithoutCtrl() {
    Windows w;
    w.desktop.Clear();
    w.form->SetGaugeProgress(3);
    for (int key : {int(Qt::Key_Delete), int(Qt::Key_R), int(Qt::Key_L)}) w.Press(key);
    w.Press(Qt::Key_E, Qt::ShiftModifier);
    QCOMPARE(w.form->State().StopFlag, 0);
    QVERIFY(w.desktop.boxes.empty());
    QCOMPARE(w.port->openings, 0);
  }

  void RefreshesThePortList() {
    Windows w;
    w.desktop.Clear();
    w.desktop.system_ports = QStringList{};
    w.Press(Qt::Key_R, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(w.Find<QComboBox>("cbPort")->count(), 0);
    QCOMPARE(w.Find<QComboBox>("cbPort")->currentIndex(), -1);
    QCOMPARE(w.desktop.Messages(), QStringList{Utf8("Порти оновлено!")});
  }

  void KeepsThePortListWhenTheTableIsMissing() {
    Windows w;
    auto* box = w.Find<QComboBox>("cbPort");
    box->setCurrentIndex(1);
    w.desktop.Clear();
    w.desktop.system_ports.reset();
    w.Press(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(w.desktop.Errors(), QStringList{Utf8("Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!")});
    QVERIFY(w.desktop.Messages().isEmpty());
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->currentIndex(), 1);
  }

  void ResetsTheDeviceOnTheChosenPort() {
    Windows w;
    w.Find<QComboBox>("cbPort")->setCurrentIndex(1);
    w.desktop.Clear();
    w.Press(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(w.port->port_name, std::string("/dev/ttyUSB0"));
    QCOMPARE(w.port->written, (std::vector<std::string>{"w0101;", "w0101;"}));
    QVERIFY(!w.port->is_open);
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONEXCLAMATION});
    QCOMPARE(w.desktop.Messages(), QStringList{Utf8("Скинуто прилад!!!")});
    QCOMPARE(w.form->State().ReplyText, std::string("w8100;"));
  }

  // A stop in a later block is heard at the start of the next block; the port stays open
  // and nothing more is sent. The write button the stop enables again is refused until
  // the run has ended.
  void StopsARunAtTheNextBlock() {
    Windows w;
    w.desktop.Clear();
    w.port->on_write = [&](const std::string& frame) {
      if (frame.rfind("w04000008", 0) == 0) w.PressLater(Qt::Key_Delete, Qt::ControlModifier);
    };
    w.desktop.on_box = [&](const testing::RecordingDesktop::Box&) { w.form->ButtonWriteClick(); };
    w.form->ButtonWriteClick();
    QCOMPARE(w.desktop.Messages(), QStringList{StopMessage()});
    QCOMPARE(w.port->Count("w0202;"), 1);  // no second run
    QCOMPARE(w.port->Count("w0606;"), 4);  // blocks 1 and 2 finished
    QCOMPARE(w.port->written.back(), std::string("w0606;"));
    QVERIFY(w.port->is_open);
    QCOMPARE(w.Status(), Utf8("Зупинено користувачем"));
    for (const char* name : kFiveControls) QVERIFY2(w.Find<QWidget>(name)->isEnabled(), name);
    QCOMPARE(w.form->GaugeProgress(), 2);
    QVERIFY(!w.form->Busy());
  }

  // The gauge stands at 0 during the whole first block: the stop does nothing there.
  void CannotStopTheFirstBlock() {
    Windows w;
    w.desktop.Clear();
    w.port->on_write = [&](const std::string& frame) {
      if (frame.rfind("w04000000", 0) == 0) w.PressLater(Qt::Key_Delete, Qt::ControlModifier);
    };
    w.form->ButtonWriteClick();
    QCOMPARE(w.desktop.Messages(), QStringList{CompletionMessage()});
    QCOMPARE(w.port->Count("w0606;"), 16);
    QCOMPARE(w.form->State().StopFlag, 0);
  }

  // Given while the device is still identified, the stop shows its message and enables
  // the controls, but the programming clears the request as it begins and runs on.
  void CannotStopTheIdentification() {
    Windows w;
    w.desktop.Clear();
    w.port->on_write = [&](const std::string& frame) {
      if (frame == "wwwww" && w.port->Count("wwwww") == 1) w.PressLater(Qt::Key_Delete, Qt::ControlModifier);
    };
    w.form->ButtonWriteClick();
    QCOMPARE(w.desktop.Messages(), (QStringList{StopMessage(), CompletionMessage()}));
    QCOMPARE(w.port->Count("w0606;"), 16);
    QCOMPARE(w.Status(), Utf8("Мікропрограма : успішно завантажена в 12:34:56"));
    QVERIFY(!w.Find<QWidget>("ButtonWrite")->isEnabled());
  }

  // A reset or a new port list in the middle of a run would pull the port from under it.
  void RefusesResetAndRefreshDuringARun() {
    Windows w;
    w.desktop.Clear();
    w.port->on_write = [&](const std::string& frame) {
      if (frame.rfind("w04000008", 0) == 0) {
        w.PressLater(Qt::Key_L, Qt::ControlModifier);
        w.PressLater(Qt::Key_R, Qt::ControlModifier);
      }
    };
    w.form->ButtonWriteClick();
    QCOMPARE(w.port->openings, 1);
    QCOMPARE(w.port->Count("w0101;"), 2);  // the completion's own reset
    QCOMPARE(w.desktop.Messages(), QStringList{CompletionMessage()});
  }
};

ZORVAN_APP_TEST(KeyboardTest);

}  // namespace zorvan::app

#include "keyboard_test.moc"
