#include "app/ts_gauge.h"

#include <QPainter>
#include <QPainterPath>

namespace zorvan::app {

TsGauge::TsGauge(QWidget* parent) : QWidget(parent) {}

void TsGauge::SetMaxValue(int64_t value) {
  const int64_t percent = model_.Percent();
  const int filled = FilledWidth();
  model_.SetMaxValue(value);
  Changed(percent, filled);
}

void TsGauge::SetMinValue(int64_t value) {
  const int64_t percent = model_.Percent();
  const int filled = FilledWidth();
  model_.SetMinValue(value);
  Changed(percent, filled);
}

void TsGauge::SetProgress(int64_t value) {
  const int64_t percent = model_.Percent();
  const int filled = FilledWidth();
  model_.SetProgress(value);
  Changed(percent, filled);
}

void TsGauge::SetSuffix(const QString& suffix) {
  suffix_ = suffix;
  update();
}

QString TsGauge::Caption() const { return QString::number(model_.Percent()) + suffix_; }

// The image preparation moves the gauge hundreds of thousands of times; only a change
// that shows is worth a repaint.
void TsGauge::Changed(int64_t old_percent, int64_t old_filled_px) {
  if (old_percent != model_.Percent() || old_filled_px != FilledWidth()) update();
}

int TsGauge::FilledWidth() const {
  const int64_t range = model_.MaxValue() - model_.MinValue();
  if (range <= 0) return 0;
  const long double share =
      static_cast<long double>(model_.Progress() - model_.MinValue()) / static_cast<long double>(range);
  return static_cast<int>(share * width());
}

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
  const QString caption = Caption();
  painter.setFont(font());
  painter.setClipRect(QRect(filled, 0, width() - filled, height()));
  painter.setPen(text_);
  painter.drawText(rect(), Qt::AlignCenter, caption);
  painter.setClipRect(bar);
  painter.setPen(text_on_bar_);
  painter.drawText(rect(), Qt::AlignCenter, caption);
}

}  // namespace zorvan::app
