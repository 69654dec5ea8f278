#include "app/ts_gauge.h"

#include <QImage>
#include <QTest>

#include "app/app_test_registry.h"
#include "common/errors.h"

namespace zorvan::app {

class TsGaugeTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsEmptyOnAHundredWithItsSuffix() {
    TsGauge gauge;
    QCOMPARE(gauge.MinValue(), 0);
    QCOMPARE(gauge.MaxValue(), 100);
    QCOMPARE(gauge.Progress(), 0);
    QCOMPARE(gauge.Caption(), QStringLiteral("0%"));
  }

  void ShowsThePercentageRoundedHalfToEven_data() {
    QTest::addColumn<qint64>("max");
    QTest::addColumn<qint64>("progress");
    QTest::addColumn<QString>("caption");
    QTest::newRow("12.5 goes down") << qint64{8} << qint64{1} << QStringLiteral("12%");
    QTest::newRow("37.5 goes up") << qint64{8} << qint64{3} << QStringLiteral("38%");
    QTest::newRow("0.5 goes down") << qint64{200} << qint64{1} << QStringLiteral("0%");
    QTest::newRow("2.5 goes down") << qint64{200} << qint64{5} << QStringLiteral("2%");
    QTest::newRow("one of three") << qint64{3} << qint64{1} << QStringLiteral("33%");
    QTest::newRow("two of three") << qint64{3} << qint64{2} << QStringLiteral("67%");
    QTest::newRow("clamped at the top") << qint64{10} << qint64{25} << QStringLiteral("100%");
    QTest::newRow("empty range") << qint64{0} << qint64{5} << QStringLiteral("0%");
    QTest::newRow("beyond 32 bits") << (qint64{1} << 40) << (qint64{1} << 39) << QStringLiteral("50%");
  }

  void ShowsThePercentageRoundedHalfToEven() {
    QFETCH(qint64, max);
    QFETCH(qint64, progress);
    QFETCH(QString, caption);
    TsGauge gauge;
    gauge.SetMaxValue(max);
    gauge.SetProgress(progress);
    QCOMPARE(gauge.Caption(), caption);
  }

  void ClampsTheProgressIntoTheRange() {
    TsGauge gauge;
    gauge.SetProgress(-4);
    QCOMPARE(gauge.Progress(), 0);
    gauge.SetProgress(70);
    gauge.SetMaxValue(50);
    QCOMPARE(gauge.Progress(), 50);
  }

  void RefusesANegativeMaximumAndKeepsItsState() {
    TsGauge gauge;
    gauge.SetMaxValue(40);
    gauge.SetProgress(10);
    try {
      gauge.SetMaxValue(-1);
      QFAIL("a negative maximum was taken");
    } catch (const ERangeError& error) {
      QCOMPARE(QString::fromStdString(error.Message()), QStringLiteral("Value must be between 1 and 2147483647"));
    }
    QCOMPARE(gauge.MaxValue(), 40);
    QCOMPARE(gauge.Progress(), 10);
    QCOMPARE(gauge.Caption(), QStringLiteral("25%"));
  }

  // The bar covers the share done from the left; the rest shows the track.
  void DrawsTheBarUpToTheShareDone() {
    TsGauge gauge;
    gauge.resize(200, 17);
    gauge.SetForeColor(QColor(128, 0, 0));
    gauge.SetTrackColor(QColor(230, 230, 230));
    gauge.SetProgress(25);
    const QImage image = gauge.grab().toImage();
    QCOMPARE(QColor(image.pixel(10, 3)), QColor(128, 0, 0));
    QCOMPARE(QColor(image.pixel(150, 3)), QColor(230, 230, 230));
  }
};

ZORVAN_APP_TEST(TsGaugeTest);

}  // namespace zorvan::app

#include "ts_gauge_test.moc"
