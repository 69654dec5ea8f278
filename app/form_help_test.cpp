// The help window, the links that lead out of the program and the small housekeeping
// handlers of the main window.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/app_test_registry.h"
#include "app/links.h"
#include "app/skin_manager.h"
#include "app/test_harness.h"
#include "app/ts_web_label.h"
#include "common/operator_surface.h"

namespace zorvan::app {

using testing::Utf8;
using testing::Windows;

class FormHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void IsLaidOutAsDesigned() {
    Windows w;
    TFormHelp& help = *w.help;
    QVERIFY(!help.isVisible());
    QCOMPARE(help.windowTitle(), Utf8("Про програму"));
    QCOMPARE(help.size(), QSize(154, 193));
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
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    w.Press(Qt::Key_F1);
    QVERIFY(w.help->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(w.help.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Button1"));
    w.Press(Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    QTRY_VERIFY(!w.help->isVisible());
    w.Press(Qt::Key_F1);  // shown again
    QVERIFY(w.help->isVisible());
  }

  void ClosesWithItsButtonAfterTheInformationBeep() {
    Windows w;
    w.help->ShowForm();
    w.desktop.Clear();
    QTest::mouseClick(w.help->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
    QTRY_VERIFY(!w.help->isVisible());
  }

  void ClosesWithItsCloseBoxAndShowsAgain() {
    Windows w;
    w.help->ShowForm();
    w.help->close();
    QTRY_VERIFY(!w.help->isVisible());
    w.help->ShowForm();
    w.help->ShowForm();  // already showing: only comes to the front
    QVERIFY(w.help->isVisible());
    QTRY_COMPARE(w.help->windowOpacity(), 1.0);
  }

  void TheLinkOpensTheMakersSiteOnce() {
    Windows w;
    w.help->ShowForm();
    w.desktop.Clear();
    auto* link = w.help->findChild<TsWebLabel*>(QStringLiteral("sWebLabel1"));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
    QCOMPARE(w.desktop.opened_addresses, QStringList{QString::fromLatin1(kHelpLinkAddress)});
    QVERIFY(w.help->isVisible());
  }

  void TheLinkTakesItsHoverLook() {
    Windows w;
    auto* link = w.help->findChild<TsWebLabel*>(QStringLiteral("sWebLabel1"));
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(link, &enter);
    QVERIFY(link->Hovered());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(link, &leave);
    QVERIFY(!link->Hovered());
  }

  void TheSmallButtonsBeepThenAct() {
    Windows w;
    w.desktop.Clear();
    QTest::mouseClick(w.Find<QPushButton>("sButton2"), Qt::LeftButton);
    QCOMPARE(w.desktop.beeps, std::vector<unsigned>{MB_ICONASTERISK});
    QCOMPARE(w.desktop.opened_addresses, QStringList{QString::fromLatin1(kMakerSiteAddress)});
    QVERIFY(QString::fromLatin1(kMakerSiteAddress) != QString::fromLatin1(kHelpLinkAddress));
    QTest::mouseClick(w.Find<QPushButton>("sButton3"), Qt::LeftButton);
    QCOMPARE(w.desktop.beeps, (std::vector<unsigned>{MB_ICONASTERISK, MB_ICONASTERISK}));
    QVERIFY(w.help->isVisible());
  }

  void ThePortLabelOpensTheDeviceManagerSilently() {
    Windows w;
    w.desktop.Clear();
    QTest::mouseClick(w.Find<QWidget>("sPanel1"), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(w.desktop.device_manager_openings, 0);
    QTest::mouseClick(w.Find<QWidget>("Label1"), Qt::LeftButton);
    QCOMPARE(w.desktop.device_manager_openings, 1);
    QVERIFY(w.desktop.beeps.empty());
  }

  void PickingAPortFocusesTheDetectButton() {
    Windows w;
    w.form->show();
    QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
    auto* box = w.Find<QComboBox>("cbPort");
    box->setFocus();
    emit box->activated(1);
    QCOMPARE(QApplication::focusWidget(), w.Find<QWidget>("ButtonConect"));
  }

  void EveryEditOfTheSkinNameReachesTheSkinManager() {
    Windows w;
    auto* box = w.Find<QComboBox>("sComboBoxSkinName");
    box->lineEdit()->clear();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("Ab"));
    QCOMPARE(w.form->SkinManager().SkinName(), QStringLiteral("Ab"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(w.form->SkinManager().SkinName(), QStringLiteral("A"));
    QCOMPARE(w.form->SkinManager().ActiveSkin(), TsSkinManager::kInternalSkinName);
  }
};

ZORVAN_APP_TEST(FormHelpTest);

}  // namespace zorvan::app

#include "form_help_test.moc"
