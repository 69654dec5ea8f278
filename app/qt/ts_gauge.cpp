#include "app/qt/ts_gauge.h"

#include <QPainter>
#include <QPainterPath>
#include <cstdint>

#include "app/gauge_display.h"

namespace zorvan::app {

TsGauge::TsGauge(QWidget* parent) : QWidget(parent) {}

void TsGauge::Show(int filled, const QString& caption) {
  filled_ = filled;
  caption_ = caption;
  // What a screen reader reads out for the gauge: the share done, as drawn.
  setAccessibleName(caption);
  update();
}

int TsGauge::FilledWidth() const { return static_cast<int>(static_cast<int64_t>(filled_) * width() / GaugeDisplay::kFull); }

void TsGauge::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = qMin<qreal>(4.0, bounds.height() / 2);
  QPainterPath track;
  track.addRoundedRect(bounds, radius, radius);

  painter.fillPath(track, track_);
  const int filled = FilledWidth();
  const QRect bar(0, 0, filled, height());
  painter.save();
  painter.setClipRect(bar);
  painter.fillPath(track, fore_);
  painter.restore();

  // The caption is drawn twice, each colour clipped to its own side of the bar's edge,
  // so it reads well wherever the edge crosses it.
  const QString& caption = caption_;
  painter.setFont(font());
  painter.setClipRect(QRect(filled, 0, width() - filled, height()));
  painter.setPen(text_);
  painter.drawText(rect(), Qt::AlignCenter, caption);
  painter.setClipRect(bar);
  painter.setPen(text_on_bar_);
  painter.drawText(rect(), Qt::AlignCenter, caption);
}

}  // namespace zorvan::app
