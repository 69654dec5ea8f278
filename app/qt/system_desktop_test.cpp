// The desktop the running program uses: its message boxes end when the operator closes
// them and look as the toolkit's ShowMessage and exception display look.

#include "app/qt/system_desktop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "tests/support/qt/app_test_registry.h"
#include "app/qt/message_dialog.h"
#include "app/window_view.h"

namespace zorvan::app {

namespace {

// A dialog's owner that is no window: the dialog then stands on its own.
struct NoOwner : WindowView {
  void ShowWindow() override {}
  void HideWindow() override {}
  void BringToFront() override {}
  void FadeIn(int) override {}
  void FadeOut(int) override {}
  void CancelFade() override {}
} no_owner;

struct SeenBox {
  bool stop_icon = false;
  QString title;
  QString text;
  int buttons = 0;
  int width = 0;
};

// Closes the next message box with its OK button, once it has shown, noting what it was.
void CloseNextBox(SeenBox& seen) {
  QTimer::singleShot(50, [&seen] {
    auto* box = qobject_cast<MessageDialog*>(QApplication::activeModalWidget());
    if (!box) return CloseNextBox(seen);
    seen.stop_icon = box->HasStopIcon();
    seen.title = box->windowTitle();
    seen.text = box->Text();
    seen.buttons = static_cast<int>(box->findChildren<QPushButton*>().size());
    seen.width = box->width();
    QTest::mouseClick(box->OkButton(), Qt::LeftButton);
  });
}

// Answers the next question, once it has shown, with Enter or with a click on "Так".
void AnswerNextQuestion(bool click_yes) {
  QTimer::singleShot(50, [click_yes] {
    auto* box = qobject_cast<MessageDialog*>(QApplication::activeModalWidget());
    if (!box) return AnswerNextQuestion(click_yes);
    if (click_yes) {
      QTest::mouseClick(box->YesButton(), Qt::LeftButton);
    } else {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
  });
}

// Types `name` into the next file dialog, once it has shown, and accepts it. A dialog that
// insists on an existing file warns in a box of its own instead: both are then closed, so
// that the test fails rather than waits.
void TypeInNextFileDialog(const QString& name) {
  QTimer::singleShot(50, [name] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return TypeInNextFileDialog(name);
    QTimer::singleShot(500, dialog, [dialog] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->reject();
      dialog->reject();
    });
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
    QMetaObject::invokeMethod(dialog, "accept");  // what the Open button does
  });
}

}  // namespace

class SystemDesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsAMessageWithoutAnIconUntilClosed() {
    SystemDesktop desktop;
    desktop.SetApplicationTitle("Zorvan Bootloader");
    SeenBox seen;
    CloseNextBox(seen);
    const QString long_line(300, QLatin1Char('x'));
    desktop.ShowMessage("   first\r\n" + long_line.toStdString());
    QVERIFY(!seen.stop_icon);
    QCOMPARE(seen.title, QStringLiteral("Zorvan Bootloader"));
    QCOMPARE(seen.buttons, 1);
    QCOMPARE(seen.text, QStringLiteral("   first\n") + long_line);
    QVERIFY(seen.width > QFontMetrics(QApplication::font()).horizontalAdvance(long_line));  // not wrapped
  }

  void ShowsAnErrorWithTheStopIcon() {
    SystemDesktop desktop;
    SeenBox seen;
    CloseNextBox(seen);
    desktop.ShowException("Порт зайнятий іншою програмою.");
    QVERIFY(seen.stop_icon);
    QCOMPARE(seen.buttons, 1);
  }

  // Writing over a device's firmware must never follow from a key pressed in haste.
  void AQuestionAnswersNoToEnterAndYesOnlyToItsButton() {
    SystemDesktop desktop;
    AnswerNextQuestion(false);
    QVERIFY(!desktop.AskYesNo("Дана версія вже записана в прилад!\r\nЗаписати все одно?"));
    AnswerNextQuestion(true);
    QVERIFY(desktop.AskYesNo("Дана версія вже записана в прилад!\r\nЗаписати все одно?"));
  }

  void ATonePlaysForItsLength() {
    SystemDesktop desktop;
    QElapsedTimer clock;
    clock.start();
    desktop.Beep(800, 200);
    QVERIFY(clock.elapsed() >= 200);
  }

  // The operator may type a name that does not exist; the read that follows says so.
  void TheOpenDialogTakesANameThatDoesNotExist() {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("typed.hex"));
    TypeInNextFileDialog(missing);
    SystemDesktop desktop;
    QCOMPARE(QString::fromStdString(desktop.ChooseFileToOpen(no_owner, "HEX|*.hex", {})), missing);
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
