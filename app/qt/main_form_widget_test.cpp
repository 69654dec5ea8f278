// The main window's Qt view: its controls as designed, what it shows of its form, and its
// two views.

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "tests/support/qt/app_test_registry.h"
#include "tests/support/qt/test_harness.h"
#include "app/qt/ts_controls.h"
#include "app/qt/ts_gauge.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

class MainFormWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsWhatItsFormSays() {
    Windows w;
    QCOMPARE(w.main_window->windowTitle(), Utf8("Zorvan Bootloader (від 13.03.26)"));
    QCOMPARE(w.Status(), Utf8("Мікропрограма готова до запису"));
    QCOMPARE(w.Find<QComboBox>("cbPort")->currentText(), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(w.Find<QComboBox>("cbPort")->count(), 2);
    QCOMPARE(w.Find<QComboBox>("cbBaudRate")->currentIndex(), 12);
    QCOMPARE(w.Find<QComboBox>("cbBaudRate")->currentText(), QStringLiteral("115200"));
    QCOMPARE(w.Find<TsGauge>("ProgressbarReadWrite")->Caption(), QStringLiteral("0%"));
    QCOMPARE(w.Find<QPlainTextEdit>("TextTerminal")->blockCount(), 4715);
    QCOMPARE(w.Find<QLabel>("Label3")->text(), Utf8("Автокалібровка: 0.0.0"));

    w.form->SetGaugeMax(8);
    w.form->SetGaugeProgress(3);
    QCOMPARE(w.Find<TsGauge>("ProgressbarReadWrite")->Caption(), QStringLiteral("38%"));
    w.form->SetChunkBarMax(16);
    w.form->SetChunkBarPosition(5);
    QCOMPARE(w.Find<QProgressBar>("ProgressbarWrite")->maximum(), 16);
    QCOMPARE(w.Find<QProgressBar>("ProgressbarWrite")->value(), 5);
    w.form->SetEnabled(Control::cbBaudRate, false);
    QVERIFY(!w.Find<QWidget>("cbBaudRate")->isEnabled());
    w.form->SetMemoText("250101");
    w.form->AddMemoLine("Очистив");
    QCOMPARE(w.Find<QPlainTextEdit>("MemoAbout")->toPlainText(), Utf8("250101\nОчистив"));
    w.form->SetStatus("Зупинено користувачем");
    QCOMPARE(w.Find<QLabel>("LabelNameOfHex")->size(), w.Find<QLabel>("LabelNameOfHex")->sizeHint());
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
    auto* control = w.main_window->findChild<QWidget*>(name);
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
    QCOMPARE(w.main_window->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(w.main_window->font().pixelSize(), 11);
    QVERIFY(!w.main_window->windowIcon().isNull());
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
    w.form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(w.main_window.get()));
    QCOMPARE(w.main_window->size(), QSize(329, 127));
    QCOMPARE(w.main_window->maximumSize(), w.main_window->minimumSize());  // fixed border
    QVERIFY(!(w.main_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.main_window->windowFlags() & Qt::WindowMinimizeButtonHint);
    const auto seen = [&](const char* name) {
      const QWidget* control = w.Find<QWidget>(name);
      return QRect(QPoint(), w.main_window->size())
          .intersects(QRect(control->mapTo(w.main_window.get(), QPoint()), control->size()));
    };
    for (const char* name : {"sPanel1", "LabelNameOfHex", "ProgressbarReadWrite"}) QVERIFY2(seen(name), name);
    for (const char* name : {"Label3", "ProgressbarWrite", "cbBaudRate", "sPanel3", "sPanel2", "MemoAbout",
                             "TextTerminal", "sComboBoxSkinName"}) {
      QVERIFY2(!seen(name), name);
    }

    w.Press(Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    // Outer height 340 with the designed frame of 39 pixels; the offscreen platform's
    // frame is thinner, and the client area keeps its designed height.
    QCOMPARE(w.main_window->height(), 340 - 39);
    QCOMPARE(w.main_window->width(), 329);
    for (const char* name : {"Label3", "ProgressbarWrite", "cbBaudRate", "sPanel3", "sPanel2"}) {
      QVERIFY2(seen(name), name);
    }
    for (const char* name : {"MemoAbout", "TextTerminal", "sComboBoxSkinName"}) QVERIFY2(!seen(name), name);
    QVERIFY(w.Find<QWidget>("sPanel3")->geometry().bottom() >= w.main_window->height());  // cut by the edge
  }
};

ZORVAN_APP_TEST(MainFormWidgetTest);

}  // namespace zorvan::app

#include "main_form_widget_test.moc"
