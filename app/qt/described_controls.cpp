#include "app/qt/described_controls.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app/qt/qt_text.h"
#include "app/qt/skin.h"
#include "app/qt/ts_controls.h"
#include "app/qt/ts_gauge.h"
#include "app/qt/ts_web_label.h"

namespace zorvan::app {

namespace {

QWidget* NewControl(ControlKind kind, QWidget* parent) {
  switch (kind) {
    case ControlKind::Panel: return new TsPanel(parent);
    case ControlKind::Label: return new TsLabel(parent);
    case ControlKind::LinkLabel: return new TsWebLabel(parent);
    case ControlKind::ComboBox: return new TsComboBox(parent);
    case ControlKind::EditableComboBox: {
      auto* box = new TsComboBox(parent);
      box->setEditable(true);
      return box;
    }
    case ControlKind::Button: return new QPushButton(parent);
    case ControlKind::BitButton: return new TsBitBtn(parent);
    case ControlKind::Gauge: return new TsGauge(parent);
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      bar->setRange(0, 100);
      bar->setValue(0);
      return bar;
    }
    case ControlKind::Memo: {
      auto* memo = new QPlainTextEdit(parent);
      memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      // The memos only hold text for the handlers; nothing the operator types there is read.
      memo->setReadOnly(true);
      return memo;
    }
    case ControlKind::Picture: return new QLabel(parent);
  }
  return new QWidget(parent);
}

void SetCaption(QWidget* control, const QString& caption) {
  if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(caption);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(caption);
  } else if (auto* box = qobject_cast<QComboBox*>(control); box && box->isEditable()) {
    box->setEditText(caption);
  }
}

}  // namespace

void DescribeWindow(QWidget* window, const WindowDescription& description) {
  window->setObjectName(Text(description.name));
  Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  // A dialog border has no minimise box; neither border has a maximise box.
  flags |= description.dialog_border ? Qt::Dialog : (Qt::Window | Qt::WindowMinimizeButtonHint);
  window->setWindowFlags(flags);
  if (!description.caption.empty()) window->setWindowTitle(Text(description.caption));
  window->setFixedSize(description.client_width, description.client_height);
  if (description.designed_position) window->move(description.left, description.top);
  window->setFont(DesignFont(description.font_height));
}

QWidget* MakeControl(QWidget* window, const ControlDescription& description) {
  QWidget* parent = description.parent.empty() ? window : window->findChild<QWidget*>(Text(description.parent));
  QWidget* control = NewControl(description.kind, parent);
  control->setObjectName(Text(description.name));
  const Bounds& b = description.bounds;
  control->setGeometry(b.left, b.top, b.width, b.height);
  if (description.font_height != 0) control->setFont(DesignFont(description.font_height));
  SetCaption(control, Text(description.caption));
  if (description.kind == ControlKind::Label) control->adjustSize();  // labels size themselves to their captions
  if (!description.hint.empty()) SetHint(control, Text(description.hint), description.hint_shown);
  if (!description.skin_section.empty()) SetSkinSection(control, Text(description.skin_section));
  if (description.hand_cursor) control->setCursor(Qt::PointingHandCursor);
  return control;
}

}  // namespace zorvan::app
