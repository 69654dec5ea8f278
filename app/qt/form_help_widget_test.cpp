// The help window's Qt view, and the main window's controls that lead out of the program:
// laid out as designed, and every act of the operator reaching its form.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/links.h"
#include "tests/support/qt/app_test_registry.h"
#include "tests/support/qt/test_harness.h"
#include "app/qt/ts_web_label.h"
#include "common/operator_surface.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

class FormHelpWidgetTest : public QObject {
  Q_OBJECT

 private slots:
  void IsLaidOutAsDesigned() {
    Windows w;
    FormHelpWidget& help = *w.help_window;
    QVERIFY(!help.isVisible());
    QCOMPARE(help.windowTitle(), Utf8("Про програму"));
    QCOMPARE(help.size(), QSize(154, 220));
    QCOMPARE(help.maximumSize(), help.minimumSize());
    QCOMPARE(help.pos(), QPoint(616, 197));
    QVERIFY(!(help.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    auto* emblem = help.findChild<QLabel*>(QStringLiteral("Image_Emblem"));
    QCOMPARE(emblem->geometry(), QRect(16, 16, 121, 89));
    QCOMPARE(emblem->pixmap().deviceIndependentSize().toSize(), QSize(120, 89));
    auto* link = help.findChild<TsWebLabel*>(QStringLiteral("sWebLabel1"));
    QCOMPARE(link->geometry(), QRect(29, 119, 91, 13));
    QCOMPARE(link->text(), QStringLiteral("example.com"));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    auto* ok = help.findChild<QPushButton*>(QStringLiteral("Button1"));
    QCOMPARE(ok->geometry(), QRect(35, 145, 81, 33));
    const QChar cyrillic_ok[] = {QChar(0x041E), QChar(0x041A)};
    QCOMPARE(ok->text(), QString(cyrillic_ok, 2));
  }

  // F1 shows the window and, once it is active, F1 hides it again, whatever is held.
  void OpensAndClosesWithF1() {
    Windows w;
    w.form->Show();
    QVERIFY(QTest::qWaitForWindowActive(w.main_window.get()));
    w.Press(Qt::Key_F1);
    QVERIFY(w.help_window->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(w.help_window.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Button1"));
    w.Press(Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    QTRY_VERIFY(!w.help_window->isVisible());
    w.Press(Qt::Key_F1);  // shown again
    QVERIFY(w.help_window->isVisible());
  }

  void ClosesWithItsCloseBoxAndShowsAgain() {
    Windows w;
    w.help->ShowForm();
    w.help_window->close();
    QVERIFY(w.help_window->isVisible());  // fading out
    QTRY_VERIFY(!w.help_window->isVisible());
    QVERIFY(!w.help->Visible());
    w.help->ShowForm();
    w.help->ShowForm();  // already showing: only comes to the front
    QVERIFY(w.help_window->isVisible());
    QTRY_COMPARE(w.help_window->windowOpacity(), 1.0);
  }

  void TheLinkTakesItsHoverLook() {
    Windows w;
    auto* link = w.help_window->findChild<TsWebLabel*>(QStringLiteral("sWebLabel1"));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    QVERIFY(link->Hovered());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    QVERIFY(!link->Hovered());
  }

  // Each click reaches its handler: the link and the maker-site button open their
  // addresses, the help button and "ОК" show and hide the help window, the "Порт:" label
  // (and not the rest of its panel) opens the device manager.
  void ForwardsEveryClickToItsHandler() {
    Windows w;
    w.desktop.Clear();
    QTest::mouseClick(w.Find<QPushButton>("sButton3"), Qt::LeftButton);
    QVERIFY(w.help->Visible());
    QTest::mouseClick(w.help_window->findChild<TsWebLabel*>(QStringLiteral("sWebLabel1")), Qt::LeftButton);
    QTest::mouseClick(w.Find<QPushButton>("sButton2"), Qt::LeftButton);
    QCOMPARE(testing::Texts(w.desktop.opened_addresses),
             QStringList({QString::fromLatin1(kHelpLinkAddress), QString::fromLatin1(kMakerSiteAddress)}));
    QTest::mouseClick(w.help_window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QTRY_VERIFY(!w.help_window->isVisible());
    QTest::mouseClick(w.Find<QWidget>("sPanel1"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(w.desktop.device_manager_openings, 0);
    QTest::mouseClick(w.Find<QWidget>("Label1"), Qt::LeftButton);
    QCOMPARE(w.desktop.device_manager_openings, 1);
    QCOMPARE(w.desktop.beeps.size(), size_t{4});
  }

  void PickingAPortFocusesTheDetectButton() {
    Windows w;
    w.form->Show();
    QVERIFY(QTest::qWaitForWindowActive(w.main_window.get()));
    auto* box = w.Find<QComboBox>("cbPort");
    box->setFocus();
    emit box->activated(1);
    QCOMPARE(QApplication::focusWidget(), w.Find<QWidget>("ButtonConect"));
    QCOMPARE(w.form->PortName(), std::string("/dev/ttyUSB0"));
  }

  void EveryEditOfTheSkinNameReachesTheSkinManager() {
    Windows w;
    auto* box = w.Find<QComboBox>("sComboBoxSkinName");
    QCOMPARE(box->currentText(), QStringLiteral("sComboBoxSkinName"));
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("Ab"));
    QCOMPARE(w.form->SkinManager().SkinName(), std::string("Ab"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(w.form->SkinManager().SkinName(), std::string("A"));
  }
};

ZORVAN_APP_TEST(FormHelpWidgetTest);

}  // namespace zorvan::app

#include "form_help_widget_test.moc"
