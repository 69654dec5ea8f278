#pragma once
// The percentage gauge: a bar with the share done written across its middle.

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>

#include "common/gauge_model.h"

namespace zorvan::app {

// A gauge with 64-bit bounds whose position is clamped into its range; it shows the whole
// percentage nearest to the share done, halves to even, followed by its suffix.
class TsGauge : public QWidget {
  Q_OBJECT
  // Colours the skin sets through its style sheet.
  Q_PROPERTY(QColor ForeColor READ ForeColor WRITE SetForeColor)
  Q_PROPERTY(QColor TrackColor READ TrackColor WRITE SetTrackColor)
  Q_PROPERTY(QColor TextColor READ TextColor WRITE SetTextColor)
  Q_PROPERTY(QColor TextOnBarColor READ TextOnBarColor WRITE SetTextOnBarColor)

 public:
  explicit TsGauge(QWidget* parent = nullptr);

  int64_t MinValue() const { return model_.MinValue(); }
  int64_t MaxValue() const { return model_.MaxValue(); }
  int64_t Progress() const { return model_.Progress(); }
  // A negative maximum is refused with ERangeError "Value must be between 1 and
  // 2147483647"; the gauge then keeps its state.
  void SetMaxValue(int64_t value);
  void SetMinValue(int64_t value);
  void SetProgress(int64_t value);

  QString Suffix() const { return suffix_; }
  void SetSuffix(const QString& suffix);
  // The text drawn across the bar, such as "37%".
  QString Caption() const;

  QColor ForeColor() const { return fore_; }
  void SetForeColor(const QColor& c) { fore_ = c; update(); }
  QColor TrackColor() const { return track_; }
  void SetTrackColor(const QColor& c) { track_ = c; update(); }
  QColor TextColor() const { return text_; }
  void SetTextColor(const QColor& c) { text_ = c; update(); }
  QColor TextOnBarColor() const { return text_on_bar_; }
  void SetTextOnBarColor(const QColor& c) { text_on_bar_ = c; update(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Changed(int64_t old_percent, int64_t old_filled_px);
  int FilledWidth() const;

  GaugeModel model_;
  QString suffix_ = QStringLiteral("%");
  QColor fore_{128, 0, 0};
  QColor track_{0xE3, 0xE7, 0xEC};
  QColor text_{0x2B, 0x31, 0x3A};
  QColor text_on_bar_{Qt::white};
};

}  // namespace zorvan::app
