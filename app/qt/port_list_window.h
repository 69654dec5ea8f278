#pragma once
// The serial devices the system knows, with the details that tell one adapter from
// another: driver, USB vendor and product, serial number. Opened from the "Порт:" label
// where the system has no device manager console.

#include <QWidget>
#include <functional>
#include <vector>

#include "serial/port_list.h"

class QLabel;
class QTreeWidget;

namespace zorvan::app {

class PortListWindow : public QWidget {
  Q_OBJECT

 public:
  using Source = std::function<std::vector<SerialPortInfo>()>;

  // `source` lists the ports; raising EComPort means the system has no table of ports.
  explicit PortListWindow(Source source, QWidget* parent = nullptr);

  // Shows the one port-list window of `owner`, listing afresh, and brings it to the front.
  static void ShowFor(QWidget* owner);

  // Lists the ports again.
  void Refresh();

 private:
  Source source_;
  QTreeWidget* list_ = nullptr;
  QLabel* note_ = nullptr;
};

}  // namespace zorvan::app
