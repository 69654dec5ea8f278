// The port-list window that the "Порт:" label opens where there is no device manager.

#include "app/qt/port_list_window.h"

#include <QLabel>
#include <QTest>
#include <QTreeWidget>

#include "tests/support/qt/app_test_registry.h"
#include "serial/ecomport.h"

namespace zorvan::app {

class PortListWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsEachPortWithWhatTellsItApart() {
    std::vector<SerialPortInfo> ports(2);
    ports[0] = {"/dev/ttyACM0", "cdc_acm", "2e8a", "000a", "E6614103E7", "Zorvan", "Loader cable"};
    ports[1].Name = "/dev/ttyS0";
    ports[1].Driver = "serial8250";
    PortListWindow window([&] { return ports; });
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("PortList"));
    QCOMPARE(list->topLevelItemCount(), 2);
    const QTreeWidgetItem* usb = list->topLevelItem(0);
    QCOMPARE(usb->text(0), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(usb->text(1), QStringLiteral("cdc_acm"));
    QCOMPARE(usb->text(2), QStringLiteral("2e8a:000a"));
    QCOMPARE(usb->text(3), QStringLiteral("E6614103E7"));
    QCOMPARE(usb->text(4), QStringLiteral("Zorvan, Loader cable"));
    QCOMPARE(list->topLevelItem(1)->text(2), QString());
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("PortListNote"))->text(), QString());

    ports.pop_back();
    window.Refresh();
    QCOMPARE(list->topLevelItemCount(), 1);
  }

  void SaysWhenThereIsNoPortOrNoTable() {
    bool table_present = true;
    PortListWindow window([&]() -> std::vector<SerialPortInfo> {
      if (!table_present) throw EComPort(com_text::kNoPortTable);
      return {};
    });
    auto* note = window.findChild<QLabel*>(QStringLiteral("PortListNote"));
    QCOMPARE(note->text(), QString::fromUtf8("Система не знає жодного послідовного порту."));
    table_present = false;
    window.Refresh();
    QCOMPARE(note->text(), QString::fromUtf8(com_text::kNoPortTable));
    QCOMPARE(window.findChild<QTreeWidget*>(QStringLiteral("PortList"))->topLevelItemCount(), 0);
  }
};

ZORVAN_APP_TEST(PortListWindowTest);

}  // namespace zorvan::app

#include "port_list_window_test.moc"
