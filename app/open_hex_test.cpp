// Opening a HEX file: the dialog, the rebuilt image, and what a refused file leaves.

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_test_registry.h"
#include "app/test_harness.h"
#include "common/operator_surface.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

namespace {

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& content) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write(content);
  return path;
}

const QByteArray kLowerCaseHex = ":0400000043ef01f0d9\r\n:00000001ff\r\n";
const QByteArray kThirdLineBroken = ":020000040000FA\n:0400000043EF01F0D9\n:0400040043EF01F0D6\n:00000001FF\n";

}  // namespace

class OpenHexTest : public QObject {
  Q_OBJECT

 private slots:
  void CancellingChangesNothing() {
    Windows w;
    w.desktop.Clear();
    const std::string image_start = w.form->State().ImageText.substr(0, 64);
    w.form->SetGaugeProgress(7);
    w.Click("ButtonOpenHex");
    QCOMPARE(w.desktop.dialog_filters, QStringList{Utf8("Файли: I8HEX, I16HEX, I32HEX|*.hex")});
    QVERIFY(w.desktop.boxes.empty());
    QVERIFY(w.desktop.beeps.empty());
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
    QCOMPARE(w.form->GaugeProgress(), 7);
    QCOMPARE(w.form->FirmwareText().LineCount(), size_t{4715});
    QCOMPARE(w.form->State().ImageText.substr(0, 64), image_start);
    QCOMPARE(w.form->LastHexFileName(), std::string());
  }

  // The text is upper-cased before its checks and the memo keeps it so; the label names
  // the file without its folder.
  void OpensAFileWithLowerCaseDigits() {
    QTemporaryDir dir;
    Windows w;
    w.Find<QWidget>("ButtonWrite")->setEnabled(false);
    w.desktop.Clear();
    w.desktop.dialog_answers << WriteFile(dir, "fw.hex", kLowerCaseHex);
    w.Click("ButtonOpenHex");
    QCOMPARE(w.Status(), Utf8("Мікропрограма : fw.hex - відкрита. Запишіть в прилад"));
    QCOMPARE(w.desktop.Messages(), QStringList{Utf8("Мікропрограма відкрита,\r\n   запишіть її в прилад")});
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
    QVERIFY(w.Find<QWidget>("ButtonWrite")->isEnabled());
    QCOMPARE(w.Find<QPlainTextEdit>("TextTerminal")->toPlainText(),
             QStringLiteral(":0400000043EF01F0D9\n:00000001FF"));
    QCOMPARE(w.form->State().ImageText.substr(0, 16), std::string("43EF01F0FFFFFFFF"));
    QCOMPARE(w.form->State().ImageText.size(), size_t{40'000'000});
    QCOMPARE(w.form->GaugeProgress(), 0);
    QCOMPARE(w.form->LastHexFileName(), std::string("fw.hex"));
    QCOMPARE(w.form->OpenDialogFileName(), dir.filePath(QStringLiteral("fw.hex")));

    w.desktop.Clear();
    w.desktop.dialog_answers << dir.filePath(QStringLiteral("fw.hex"));
    w.Click("ButtonOpenHex");
    QCOMPARE(w.desktop.Messages().size(), 1);  // opened again, said again
  }

  // Editors on Windows often begin a file with a UTF-8 byte-order mark; the first record
  // is read all the same.
  void OpensAFileThatBeginsWithAByteOrderMark() {
    QTemporaryDir dir;
    Windows w;
    w.desktop.Clear();
    w.desktop.dialog_answers << WriteFile(dir, "bom.hex", "\xEF\xBB\xBF" + kLowerCaseHex);
    w.Click("ButtonOpenHex");
    QCOMPARE(w.desktop.Messages(), QStringList{Utf8("Мікропрограма відкрита,\r\n   запишіть її в прилад")});
    QCOMPARE(w.form->State().ImageText.substr(0, 8), std::string("43EF01F0"));
  }

  // A refused line leaves the earlier image, the label and the write button as they were;
  // the memo holds the new text.
  void RefusesALineWithAWrongChecksum() {
    QTemporaryDir dir;
    Windows w;
    w.Find<QWidget>("ButtonWrite")->setEnabled(false);
    const std::string image_start = w.form->State().ImageText.substr(0, 64);
    w.desktop.Clear();
    w.desktop.dialog_answers << WriteFile(dir, "broken.hex", kThirdLineBroken);
    w.Click("ButtonOpenHex");
    QCOMPARE(w.desktop.Messages(),
             QStringList{Utf8("Помилка контрольної суми у строці мікропрограми: 3! (:0400040043EF01F0D6)")});
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONHAND});
    QVERIFY(!w.Find<QWidget>("ButtonWrite")->isEnabled());
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
    QCOMPARE(w.form->State().ImageText.substr(0, 64), image_start);
    QVERIFY(w.form->State().ImageComplete);
    QCOMPARE(w.form->FirmwareText().LineCount(), size_t{4});
    QCOMPARE(w.form->GaugeProgress(), 0);
  }

  void ShowsWhyAFileCannotBeRead() {
    QTemporaryDir dir;
    Windows w;
    w.desktop.Clear();
    const QString missing = dir.filePath(QStringLiteral("gone.hex"));
    w.desktop.dialog_answers << missing;
    w.Click("ButtonOpenHex");
    QCOMPARE(w.desktop.Errors(),
             QStringList{QStringLiteral("Cannot open file \"%1\". No such file or directory.").arg(missing)});
    QCOMPARE(w.form->FirmwareText().LineCount(), size_t{4715});
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
    QCOMPARE(w.form->LastHexFileName(), std::string("gone.hex"));
  }

  // The gauge refuses the maximum of a text without lines.
  void RefusesAnEmptyFileThroughTheGauge() {
    QTemporaryDir dir;
    Windows w;
    w.desktop.Clear();
    w.desktop.dialog_answers << WriteFile(dir, "empty.hex", QByteArray());
    w.Click("ButtonOpenHex");
    QCOMPARE(w.desktop.Errors(), QStringList{QStringLiteral("Value must be between 1 and 2147483647.")});
    QCOMPARE(w.form->FirmwareText().LineCount(), size_t{0});
    QVERIFY(w.form->State().ImageComplete);
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
  }

  // While the image is rebuilt the window stays responsive, but writing, resetting and
  // refreshing the ports wait for the new image.
  void RefusesOtherActionsWhileTheImageIsRebuilt() {
    QTemporaryDir dir;
    Windows w;
    w.desktop.Clear();
    w.desktop.dialog_answers << WriteFile(dir, "fw.hex", kLowerCaseHex);
    w.PressLater(Qt::Key_L, Qt::ControlModifier);
    w.PressLater(Qt::Key_R, Qt::ControlModifier);
    QMetaObject::invokeMethod(w.form.get(), [&] { w.form->ButtonWriteClick(); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(w.form.get(), [&] { w.form->ButtonConectClick(); }, Qt::QueuedConnection);
    w.Click("ButtonOpenHex");
    QVERIFY(w.port->written.empty());
    QCOMPARE(w.port->openings, 0);
    QCOMPARE(w.desktop.Messages(), QStringList{Utf8("Мікропрограма відкрита,\r\n   запишіть її в прилад")});
    QVERIFY(!w.form->Busy());
  }
};

ZORVAN_APP_TEST(OpenHexTest);

}  // namespace zorvan::app

#include "open_hex_test.moc"
