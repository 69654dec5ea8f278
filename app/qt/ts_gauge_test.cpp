#include "app/qt/ts_gauge.h"

#include <QImage>
#include <QTest>

#include "tests/support/qt/app_test_registry.h"

namespace zorvan::app {

class TsGaugeTest : public QObject {
  Q_OBJECT

 private slots:
  // The bar covers the share done from the left; the rest shows the track.
  void DrawsTheBarUpToTheShareDone() {
    TsGauge gauge;
    gauge.resize(200, 17);
    gauge.SetForeColor(QColor(128, 0, 0));
    gauge.SetTrackColor(QColor(230, 230, 230));
    gauge.Show(2500, QStringLiteral("25%"));
    const QImage image = gauge.grab().toImage();
    QCOMPARE(QColor(image.pixel(10, 3)), QColor(128, 0, 0));
    QCOMPARE(QColor(image.pixel(150, 3)), QColor(230, 230, 230));
  }
};

ZORVAN_APP_TEST(TsGaugeTest);

}  // namespace zorvan::app

#include "ts_gauge_test.moc"
