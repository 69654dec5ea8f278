#include "app/ts_controls.h"

#include <QMouseEvent>

namespace zorvan::app {

void TsLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
  QLabel::mouseReleaseEvent(event);
}

TsBitBtn::TsBitBtn(QWidget* parent) : QToolButton(parent) {
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setFocusPolicy(Qt::StrongFocus);  // a push button, reached with Tab like the others
}

void SetHint(QWidget* control, const QString& hint, bool shown) {
  control->setProperty("hint", hint);
  if (shown) control->setToolTip(hint);
}

}  // namespace zorvan::app
