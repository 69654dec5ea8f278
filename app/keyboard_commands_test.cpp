#include "app/keyboard_commands.h"

#include <QTest>

#include "app/app_test_registry.h"

namespace zorvan::app {

class KeyboardCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void PicksTheCommandByKeyAndModifiers_data() {
    QTest::addColumn<int>("qt_key");
    QTest::addColumn<Qt::KeyboardModifiers>("shift");
    QTest::addColumn<int>("command");
    const Qt::KeyboardModifiers none;
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    QTest::newRow("F1") << int(Qt::Key_F1) << none << int(KeyCommand::ShowHelp);
    QTest::newRow("Ctrl+F1") << int(Qt::Key_F1) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::ShowHelp);
    QTest::newRow("Ctrl+Shift+Alt+F1") << int(Qt::Key_F1) << (ctrl | shift | alt) << int(KeyCommand::ShowHelp);
    QTest::newRow("Ctrl+Shift+E") << int(Qt::Key_E) << (ctrl | shift) << int(KeyCommand::EngineeringView);
    QTest::newRow("Ctrl+Shift+Alt+E") << int(Qt::Key_E) << (ctrl | shift | alt) << int(KeyCommand::EngineeringView);
    QTest::newRow("Ctrl+E") << int(Qt::Key_E) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::None);
    QTest::newRow("Shift+E") << int(Qt::Key_E) << Qt::KeyboardModifiers(shift) << int(KeyCommand::None);
    QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::Stop);
    QTest::newRow("Ctrl+Shift+Delete") << int(Qt::Key_Delete) << (ctrl | shift) << int(KeyCommand::Stop);
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << int(KeyCommand::None);
    QTest::newRow("Ctrl+R") << int(Qt::Key_R) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::RefreshPorts);
    QTest::newRow("Ctrl+Alt+R") << int(Qt::Key_R) << (ctrl | alt) << int(KeyCommand::RefreshPorts);
    QTest::newRow("R") << int(Qt::Key_R) << none << int(KeyCommand::None);
    QTest::newRow("Alt+R") << int(Qt::Key_R) << Qt::KeyboardModifiers(alt) << int(KeyCommand::None);
    QTest::newRow("Ctrl+L") << int(Qt::Key_L) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::ResetDevice);
    QTest::newRow("Ctrl+Alt+L") << int(Qt::Key_L) << (ctrl | alt) << int(KeyCommand::ResetDevice);
    QTest::newRow("Shift+L") << int(Qt::Key_L) << Qt::KeyboardModifiers(shift) << int(KeyCommand::None);
    QTest::newRow("Ctrl+F2") << int(Qt::Key_F2) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::None);
    QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << Qt::KeyboardModifiers(ctrl) << int(KeyCommand::None);
  }

  void PicksTheCommandByKeyAndModifiers() {
    QFETCH(int, qt_key);
    QFETCH(Qt::KeyboardModifiers, shift);
    QFETCH(int, command);
    QCOMPARE(int(CommandForKey(VirtualKeyCode(qt_key), shift)), command);
  }

  void GivesTheVirtualKeyCodes() {
    QCOMPARE(VirtualKeyCode(Qt::Key_F1), 112);
    QCOMPARE(VirtualKeyCode(Qt::Key_F12), 123);
    QCOMPARE(VirtualKeyCode(Qt::Key_E), 69);
    QCOMPARE(VirtualKeyCode(Qt::Key_Delete), 46);
    QCOMPARE(VirtualKeyCode(Qt::Key_7), 55);
    // The same keys with the Ukrainian layout active: К, Д and У lie on R, L and E.
    QCOMPARE(VirtualKeyCode(0x041A), 82);
    QCOMPARE(VirtualKeyCode(0x0414), 76);
    QCOMPARE(VirtualKeyCode(0x0423), 69);
    QCOMPARE(VirtualKeyCode(Qt::Key_Escape), 0);
  }
};

ZORVAN_APP_TEST(KeyboardCommandsTest);

}  // namespace zorvan::app

#include "keyboard_commands_test.moc"
