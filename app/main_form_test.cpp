// The main window as it opens: titles, start-up state, its controls and its two views.

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "app/app_test_registry.h"
#include "app/app_texts.h"
#include "app/skin_manager.h"
#include "app/test_harness.h"
#include "app/ts_controls.h"
#include "app/ts_gauge.h"
#include "common/operator_surface.h"
#include "firmware/embedded_firmware.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

class MainFormTest : public QObject {
  Q_OBJECT

 private slots:
  void OpensReadyToWrite() {
    Windows w;
    QCOMPARE(w.form->windowTitle(), Utf8("Zorvan Bootloader (від 13.03.26)"));
    QCOMPARE(w.desktop.ApplicationTitle(), Utf8("Zorvan Bootloader (від 13.03.26)"));
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
    QCOMPARE(w.Find<QComboBox>("cbPort")->currentText(), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(w.Find<QComboBox>("cbBaudRate")->currentIndex(), 12);
    QCOMPARE(w.Find<QComboBox>("cbBaudRate")->currentText(), QStringLiteral("115200"));
    QCOMPARE(w.form->GaugeProgress(), 0);
    QCOMPARE(w.Find<TsGauge>("ProgressbarReadWrite")->Caption(), QStringLiteral("0%"));
    for (const char* name : {"ButtonWrite", "ButtonConect", "ButtonOpenHex", "cbPort", "cbBaudRate"}) {
      QVERIFY2(w.Find<QWidget>(name)->isEnabled(), name);
    }
    QCOMPARE(w.form->MemoText(), std::string());
    QVERIFY(w.form->State().ImageComplete);
    QCOMPARE(w.form->State().ImageText.substr(0, 12), std::string("0C940001FFFF"));
    QCOMPARE(w.form->FirmwareText().Text(), std::string(EmbeddedFirmware));
    QCOMPARE(w.Find<QPlainTextEdit>("TextTerminal")->blockCount(), 4715);
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
    QVERIFY(w.desktop.boxes.empty());
    QCOMPARE(w.Find<QLabel>("Label3")->text(), Utf8("Автокалібровка: 0.0.0"));
    QCOMPARE(w.form->SkinManager().ActiveSkin(), TsSkinManager::kInternalSkinName);
  }

  // Until the creation handler starts, the application answers to its provisional title;
  // every box of the run, those of the start-up included, carries the final one.
  void TitlesEveryBoxWithTheFinalTitle() {
    QString title_before;
    Windows w({}, [&](testing::RecordingDesktop& desktop) {
      title_before = desktop.ApplicationTitle();
      desktop.system_ports.reset();
    });
    QCOMPARE(title_before, Utf8("QMX Bootloader"));
    QCOMPARE(w.desktop.boxes.size(), size_t{1});
    QCOMPARE(w.desktop.boxes[0].title, Utf8("Zorvan Bootloader (від 13.03.26)"));
  }

  // Without the system's table of ports the start-up ends at the port list: no rate is
  // selected, no image is prepared and the label still asks for the device.
  void StopsAtAMissingPortTable() {
    Windows w({}, [](testing::RecordingDesktop& desktop) { desktop.system_ports.reset(); });
    QCOMPARE(w.desktop.Errors(), QStringList{Utf8("Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!")});
    QCOMPARE(w.Find<QComboBox>("cbBaudRate")->currentIndex(), -1);
    QCOMPARE(w.Status(), Utf8("Визначте прилад"));
    QVERIFY(!w.form->State().ImageComplete);
    QVERIFY(w.form->State().ImageText.empty());
    QVERIFY(w.desktop.beeps.empty());
  }

  void PreparesTheImageWithNoPortsPresent() {
    Windows w({}, [](testing::RecordingDesktop& desktop) { desktop.system_ports = QStringList{}; });
    QCOMPARE(w.Find<QComboBox>("cbPort")->count(), 0);
    QCOMPARE(w.Find<QComboBox>("cbPort")->currentIndex(), -1);
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
  }

  // Ports given on the command line come first, before the system's, and stay there
  // when the list is refreshed.
  void OffersThePortsGivenOnTheCommandLineFirst() {
    Windows w({QStringLiteral("/dev/pts/7")});
    auto* box = w.Find<QComboBox>("cbPort");
    QCOMPARE(box->currentText(), QStringLiteral("/dev/pts/7"));
    QCOMPARE(box->count(), 3);
    w.desktop.system_ports = QStringList{QStringLiteral("/dev/ttyACM0")};
    w.Press(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(0), QStringLiteral("/dev/pts/7"));
    QCOMPARE(box->itemText(1), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(box->currentIndex(), 0);
    QCOMPARE(w.desktop.Messages(), QStringList{Utf8("Порти оновлено!")});
  }

  void PlacesEveryControlAsDesigned_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("hint_shown");
    const auto row = [](const char* name, const char* parent, QRect bounds, const char* text, const char* hint,
                        bool shown) {
      QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(parent) << bounds << Utf8(text)
                          << Utf8(hint) << shown;
    };
    row("sPanel1", "MainForm", {7, 8, 314, 73}, "", "Натисніть для запуску диспетчера пристроїв в системі", false);
    row("Label1", "sPanel1", {49, 17, 28, 13}, "Порт:", "Запустити диспетчер пристроїв", true);
    row("cbPort", "sPanel1", {30, 37, 73, 21}, "", "Ctrl+R оновлення списку портів", true);
    row("ButtonWrite", "sPanel1", {161, 6, 96, 60}, "Прошити", "", false);
    row("LabelNameOfHex", "MainForm", {10, 87, 86, 13}, "Мікропрограма готова до запису", "", false);
    row("ProgressbarReadWrite", "MainForm", {6, 104, 315, 17}, "", "", false);
    row("Label3", "MainForm", {12, 149, 110, 13}, "Автокалібровка: 0.0.0", "", false);
    row("ProgressbarWrite", "MainForm", {8, 167, 265, 9}, "", "", false);
    row("cbBaudRate", "MainForm", {16, 190, 81, 21}, "", "Швидкість встановлюється відповідно до документації на прилад",
        true);
    row("sPanel3", "MainForm", {248, 200, 41, 153}, "", "", false);
    row("sButton2", "sPanel3", {8, 12, 25, 57}, "", "Сайт виробника", true);
    row("sButton3", "sPanel3", {8, 84, 25, 57}, "", "Інформація про програму", true);
    row("sPanel2", "MainForm", {8, 224, 265, 81}, "", "", false);
    row("ButtonConect", "sPanel2", {31, 16, 81, 57}, "Визначити", "", false);
    row("ButtonOpenHex", "sPanel2", {152, 16, 81, 57}, "Відкрити",
        "Повинна бути точна відповідність приладу і мікропрограми для нього", true);
    row("MemoAbout", "MainForm", {392, 16, 305, 681}, "", "Інформація про прилад", true);
    row("TextTerminal", "MainForm", {-288, 320, 465, 225}, "", "", false);
    row("sComboBoxSkinName", "MainForm", {32, 760, 145, 21}, "", "", false);
  }

  void PlacesEveryControlAsDesigned() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, bounds);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    QFETCH(bool, hint_shown);
    Windows w;
    auto* control = w.form->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    if (qobject_cast<QLabel*>(control)) {  // labels size themselves to their captions
      QCOMPARE(control->pos(), bounds.topLeft());
      QCOMPARE(control->size(), control->sizeHint());
    } else {
      QCOMPARE(control->geometry(), bounds);
    }
    if (!text.isEmpty()) QCOMPARE(control->property("text").toString(), text);
    QCOMPARE(control->property("hint").toString(), hint);
    QCOMPARE(control->toolTip(), hint_shown ? hint : QString());
  }

  void GivesTheControlsTheirKindsAndSkinParts() {
    Windows w;
    QVERIFY(w.Find<TsBitBtn>("ButtonWrite"));
    QVERIFY(!w.Find<TsBitBtn>("ButtonWrite")->icon().isNull());
    QCOMPARE(w.Find<TsBitBtn>("ButtonWrite")->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(w.Find<TsGauge>("ProgressbarReadWrite"));
    QCOMPARE(w.Find<TsGauge>("ProgressbarReadWrite")->Suffix(), QStringLiteral("%"));
    QVERIFY(w.Find<TsLabel>("Label1"));
    QVERIFY(w.Find<QProgressBar>("ProgressbarWrite"));
    const std::pair<const char*, const char*> parts[] = {
        {"ProgressbarReadWrite", "BAR"}, {"ProgressbarWrite", "BAR"},    {"cbPort", "COMBOBOX"},
        {"cbBaudRate", "COMBOBOX"},      {"ButtonConect", "BUTTON_HUGE"}, {"ButtonOpenHex", "BUTTON_HUGE"},
        {"sButton2", "DIALOG"},          {"sButton3", "DIALOG"}};
    for (const auto& [name, part] : parts) {
      QCOMPARE(w.Find<QWidget>(name)->property("SkinSection").toString(), QString::fromLatin1(part));
    }
    for (const char* name : {"cbPort", "cbBaudRate", "ButtonConect", "ButtonOpenHex"}) {
      QCOMPARE(w.Find<QWidget>(name)->cursor().shape(), Qt::PointingHandCursor);
    }
    QStringList rates;
    for (int i = 0; i < w.Find<QComboBox>("cbBaudRate")->count(); ++i) rates << w.Find<QComboBox>("cbBaudRate")->itemText(i);
    QCOMPARE(rates, QStringList({"110", "300", "600", "1200", "2400", "4800", "9600", "14400", "19200", "38400",
                                 "56000", "57600", "115200", "128000", "256000"}));
    QVERIFY(w.Find<QComboBox>("sComboBoxSkinName")->isEditable());
    QCOMPARE(w.Find<QComboBox>("sComboBoxSkinName")->currentText(), QStringLiteral("sComboBoxSkinName"));
    QCOMPARE(w.Find<QComboBox>("sComboBoxSkinName")->count(), 0);
    QCOMPARE(w.Find<QPlainTextEdit>("MemoAbout")->font().pixelSize(), 15);
    QCOMPARE(w.Find<QPlainTextEdit>("TextTerminal")->font().pixelSize(), 16);
    QCOMPARE(w.form->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(w.form->font().pixelSize(), 11);
    QVERIFY(!w.form->windowIcon().isNull());
  }

  void MovesTheFocusInTheDesignedTabOrder() {
    Windows w;
    const char* order[] = {"MemoAbout",    "TextTerminal",  "sComboBoxSkinName", "cbPort",   "ButtonWrite",
                           "ButtonConect", "ButtonOpenHex", "sButton2",          "sButton3", "cbBaudRate"};
    QWidget* widget = w.Find<QWidget>(order[0]);
    for (size_t i = 1; i < std::size(order); ++i) {
      widget = widget->nextInFocusChain();
      while (widget->focusPolicy() == Qt::NoFocus || (!widget->isWindow() && widget->focusProxy())) {
        widget = widget->nextInFocusChain();
      }
      QCOMPARE(widget->objectName(), QString::fromLatin1(order[i]));
    }
  }

  // The normal view shows the port panel, the status label and the gauge; the rest lies
  // below its client area, the memos and the skin-name box outside the window.
  void ShowsTheNormalViewThenTheEngineeringView() {
    Windows w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
    QCOMPARE(w.form->size(), QSize(329, 127));
    QCOMPARE(w.form->maximumSize(), w.form->minimumSize());  // fixed border
    QVERIFY(!(w.form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.form->windowFlags() & Qt::WindowMinimizeButtonHint);
    const auto seen = [&](const char* name) {
      const QWidget* control = w.Find<QWidget>(name);
      return QRect(QPoint(), w.form->size()).intersects(QRect(control->mapTo(w.form.get(), QPoint()), control->size()));
    };
    for (const char* name : {"sPanel1", "LabelNameOfHex", "ProgressbarReadWrite"}) QVERIFY2(seen(name), name);
    for (const char* name : {"Label3", "ProgressbarWrite", "cbBaudRate", "sPanel3", "sPanel2", "MemoAbout",
                             "TextTerminal", "sComboBoxSkinName"}) {
      QVERIFY2(!seen(name), name);
    }

    w.Press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    // Outer height 340 with the designed frame of 39 pixels; the offscreen platform's
    // frame is thinner, and the client area keeps its designed height.
    QCOMPARE(w.form->height(), 340 - 39);
    QCOMPARE(w.form->width(), 329);
    for (const char* name : {"Label3", "ProgressbarWrite", "cbBaudRate", "sPanel3", "sPanel2"}) {
      QVERIFY2(seen(name), name);
    }
    for (const char* name : {"MemoAbout", "TextTerminal", "sComboBoxSkinName"}) QVERIFY2(!seen(name), name);
    QVERIFY(w.Find<QWidget>("sPanel3")->geometry().bottom() >= w.form->height());  // cut by the edge

    const QSize engineering = w.form->size();
    w.Press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.form->size(), engineering);
    w.Press(Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(w.form->size(), engineering);
  }
};

ZORVAN_APP_TEST(MainFormTest);

}  // namespace zorvan::app

#include "main_form_test.moc"
