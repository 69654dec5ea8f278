#include "app/qt/ts_web_label.h"

#include <QStyle>

namespace zorvan::app {

TsWebLabel::TsWebLabel(QWidget* parent) : TsLabel(parent) { setCursor(Qt::PointingHandCursor); }

void TsWebLabel::enterEvent(QEnterEvent* event) {
  ShowHover(true);
  TsLabel::enterEvent(event);
}

void TsWebLabel::leaveEvent(QEvent* event) {
  ShowHover(false);
  TsLabel::leaveEvent(event);
}

void TsWebLabel::ShowHover(bool hovered) {
  if (hovered == hovered_) return;
  hovered_ = hovered;
  // The style sheet reads the property only when the widget is polished again.
  style()->unpolish(this);
  style()->polish(this);
  update();
}

}  // namespace zorvan::app
