#include "app/qt/ts_controls.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QStylePainter>

namespace zorvan::app {

void TsLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

TsBitBtn::TsBitBtn(QWidget* parent) : QToolButton(parent) {
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setFocusPolicy(Qt::StrongFocus);  // a push button, reached with Tab like the others
}

void TsComboBox::showPopup() {
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = qMax(widest, fontMetrics().horizontalAdvance(itemText(i)));
  view()->setMinimumWidth(widest + 4 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 24);
  QComboBox::showPopup();
}

void TsComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const QRect text_area = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideLeft, text_area.width());
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void SetHint(QWidget* control, const QString& hint, bool shown) {
  control->setProperty("hint", hint);
  if (shown) control->setToolTip(hint);
}

}  // namespace zorvan::app
