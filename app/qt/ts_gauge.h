#pragma once
// The percentage gauge: a bar with the share done written across its middle.

#include <QColor>
#include <QString>
#include <QWidget>

namespace zorvan::app {

// Draws what its form says the gauge shows: the filled share of the bar and the text
// across it.
class TsGauge : public QWidget {
  Q_OBJECT
  // Colours the skin sets through its style sheet.
  Q_PROPERTY(QColor ForeColor READ ForeColor WRITE SetForeColor)
  Q_PROPERTY(QColor TrackColor READ TrackColor WRITE SetTrackColor)
  Q_PROPERTY(QColor TextColor READ TextColor WRITE SetTextColor)
  Q_PROPERTY(QColor TextOnBarColor READ TextOnBarColor WRITE SetTextOnBarColor)

 public:
  explicit TsGauge(QWidget* parent = nullptr);

  // `filled`: ten-thousandths of the bar filled from the left; `caption`: the text drawn
  // across it, such as "37%".
  void Show(int filled, const QString& caption);
  QString Caption() const { return caption_; }

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
  int FilledWidth() const;

  int filled_ = 0;
  QString caption_;
  QColor fore_{128, 0, 0};
  QColor track_{0xE3, 0xE7, 0xEC};
  QColor text_{0x2B, 0x31, 0x3A};
  QColor text_on_bar_{Qt::white};
};

}  // namespace zorvan::app
