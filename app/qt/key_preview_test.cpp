// The main window's key preview: every key press reaches the form once, as its virtual
// key, also one pressed while a run is under way.

#include "app/qt/key_preview.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "tests/support/qt/app_test_registry.h"
#include "tests/support/qt/test_harness.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

class KeyPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void GivesTheVirtualKeyCodes() {
    QCOMPARE(VirtualKeyCode(Qt::Key_F1), 112);
    QCOMPARE(VirtualKeyCode(Qt::Key_F12), 123);
    QCOMPARE(VirtualKeyCode(Qt::Key_E), 69);
    QCOMPARE(VirtualKeyCode(Qt::Key_Delete), 46);
    QCOMPARE(VirtualKeyCode(Qt::Key_7), 55);
    QCOMPARE(VirtualKeyCode(0x041A), 82);  // К, on the key R
    QCOMPARE(VirtualKeyCode(Qt::Key_Escape), 0);
    QVERIFY(ShiftStateOf(Qt::ControlModifier | Qt::ShiftModifier) == (Modifier::Ctrl | Modifier::Shift));
    QVERIFY(ShiftStateOf(Qt::AltModifier | Qt::KeypadModifier) == ShiftState(Modifier::Alt));
  }

  // The stop's box takes the focus from the window; as the unused key travels on to the
  // window itself, the stop must not be given a second time.
  void GivesACommandOnceWhenItsBoxTakesTheFocus() {
    Windows w;
    w.form->Show();
    QVERIFY(QTest::qWaitForWindowActive(w.main_window.get()));
    w.Find<QWidget>("cbPort")->setFocus();
    w.form->SetGaugeProgress(3);
    w.desktop.Clear();
    w.desktop.on_box = [](const testing::RecordingDesktop::Box&) {
      if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    };
    w.Press(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(w.desktop.Messages().size(), size_t{1});
    w.Find<QWidget>("cbPort")->setFocus();
    w.Press(Qt::Key_Delete, Qt::ControlModifier);  // the next press is a command again
    QCOMPARE(w.desktop.Messages().size(), size_t{2});
  }

  // A key pressed during a run waits in the event queue for the run's next message
  // point, and what its command does shows at once.
  void KeysPressedDuringARunReachTheForm() {
    Windows w;
    w.desktop.Clear();
    w.port->on_write = [&](const std::string& frame) {
      if (frame.rfind("w04000008", 0) == 0) w.PressLater(Qt::Key_Delete, Qt::ControlModifier);
    };
    w.form->ButtonWriteClick();
    QCOMPARE(w.desktop.Messages().size(), size_t{1});
    QCOMPARE(w.port->Count("w0606;"), 4);  // stopped after the second block
    QCOMPARE(w.Status(), Utf8("Зупинено користувачем"));
    for (const char* name : {"ButtonWrite", "ButtonConect", "ButtonOpenHex", "cbPort", "cbBaudRate"}) {
      QVERIFY2(w.Find<QWidget>(name)->isEnabled(), name);
    }
  }
};

ZORVAN_APP_TEST(KeyPreviewTest);

}  // namespace zorvan::app

#include "key_preview_test.moc"
