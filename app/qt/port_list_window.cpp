#include "app/qt/port_list_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/qt/qt_text.h"
#include "common/errors.h"

namespace zorvan::app {

namespace {

QString Field(const std::string& text) { return QString::fromStdString(text); }

QString UsbIds(const SerialPortInfo& port) {
  if (port.UsbVendorId.empty() && port.UsbProductId.empty()) return {};
  return Field(port.UsbVendorId) + QLatin1Char(':') + Field(port.UsbProductId);
}

QString Product(const SerialPortInfo& port) {
  if (port.Manufacturer.empty()) return Field(port.Product);
  if (port.Product.empty()) return Field(port.Manufacturer);
  return Field(port.Manufacturer) + QStringLiteral(", ") + Field(port.Product);
}

}  // namespace

PortListWindow::PortListWindow(Source source, QWidget* parent)
    : QWidget(parent, Qt::Dialog), source_(std::move(source)) {
  setObjectName(QStringLiteral("PortListWindow"));
  setWindowTitle(Text(kPortListTitle));
  resize(620, 240);

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("PortList"));
  list_->setRootIsDecorated(false);
  list_->setHeaderLabels({Text(kPortListPort), Text(kPortListDriver), Text(kPortListUsb),
                          Text(kPortListSerialNumber), Text(kPortListProduct)});
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(true);

  note_ = new QLabel(this);
  note_->setObjectName(QStringLiteral("PortListNote"));
  note_->setWordWrap(true);

  auto* refresh = new QPushButton(Text(kPortListRefresh), this);
  auto* close = new QPushButton(Text(kPortListClose), this);
  connect(refresh, &QPushButton::clicked, this, &PortListWindow::Refresh);
  connect(close, &QPushButton::clicked, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(note_, 1);
  buttons->addWidget(refresh);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);

  Refresh();
}

void PortListWindow::ShowFor(QWidget* owner) {
  static QPointer<PortListWindow> window;
  if (!window) {
    window = new PortListWindow([] { return ListSerialPortDetails(); }, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
  } else {
    window->Refresh();
  }
  window->show();
  window->raise();
  window->activateWindow();
}

void PortListWindow::Refresh() {
  list_->clear();
  std::vector<SerialPortInfo> ports;
  try {
    ports = source_();
  } catch (const Exception& error) {
    note_->setText(QString::fromStdString(error.Message()));
    return;
  }
  for (const SerialPortInfo& port : ports) {
    new QTreeWidgetItem(list_, {Field(port.Name), Field(port.Driver), UsbIds(port), Field(port.SerialNumber),
                                Product(port)});
  }
  note_->setText(ports.empty() ? Text(kPortListEmpty) : QString());
}

}  // namespace zorvan::app
