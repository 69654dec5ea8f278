// The desktop the running program uses: its message boxes end when the operator closes
// them and look as the toolkit's ShowMessage and exception display look.

#include "app/system_desktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/app_test_registry.h"

namespace zorvan::app {

namespace {

struct SeenBox {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QString text;
  int buttons = 0;
};

// Closes the next message box with its OK button, once it has shown, noting what it was.
void CloseNextBox(SeenBox& seen) {
  QTimer::singleShot(50, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return CloseNextBox(seen);
    seen.icon = box->icon();
    seen.title = box->windowTitle();
    seen.text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
    seen.buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
}

}  // namespace

class SystemDesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsAMessageWithoutAnIconUntilClosed() {
    SystemDesktop desktop;
    desktop.SetApplicationTitle(QStringLiteral("Zorvan Bootloader"));
    SeenBox seen;
    CloseNextBox(seen);
    desktop.ShowMessage(QStringLiteral("   first\r\nsecond"));
    QCOMPARE(seen.icon, QMessageBox::NoIcon);
    QCOMPARE(seen.title, QStringLiteral("Zorvan Bootloader"));
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.text, QStringLiteral("<p style=\"white-space:pre\">   first<br>second</p>"));
  }

  void ShowsAnErrorWithTheStopIcon() {
    SystemDesktop desktop;
    SeenBox seen;
    CloseNextBox(seen);
    desktop.ShowException(QStringLiteral("Порт зайнятий іншою програмою."));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, 1);
  }

  void ATonePlaysForItsLength() {
    SystemDesktop desktop;
    QElapsedTimer clock;
    clock.start();
    desktop.Beep(800, 200);
    QVERIFY(clock.elapsed() >= 200);
  }

  void WritesTheFileFilterTheWayQtReadsIt() {
    QCOMPARE(QtFileFilter(QString::fromUtf8("Файли: I8HEX, I16HEX, I32HEX|*.hex")),
             QString::fromUtf8("Файли: I8HEX, I16HEX, I32HEX (*.hex)"));
    QCOMPARE(QtFileFilter(QStringLiteral("HEX|*.hex;*.ihx|All|*")), QStringLiteral("HEX (*.hex *.ihx);;All (*)"));
  }
};

ZORVAN_APP_TEST(SystemDesktopTest);

}  // namespace zorvan::app

#include "system_desktop_test.moc"
