#include "common/gauge_model.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace zorvan {
namespace {

TEST(GaugeModel, ClampsTheProgressIntoItsRange) {
  GaugeModel g;
  g.SetMaxValue(10);
  g.SetProgress(25);
  EXPECT_EQ(g.Progress(), 10);
  g.SetProgress(-3);
  EXPECT_EQ(g.Progress(), 0);
  g.SetProgress(7);
  g.SetMaxValue(5);
  EXPECT_EQ(g.Progress(), 5);
  g.SetMaxValue(int64_t{1} << 40);
  g.SetProgress(int64_t{1} << 39);
  EXPECT_EQ(g.Percent(), 50);
}

TEST(GaugeModel, RefusesANegativeMaximumAndKeepsItsState) {
  GaugeModel g;
  g.SetProgress(40);
  try {
    g.SetMaxValue(-1);
    ADD_FAILURE();
  } catch (const ERangeError& e) {
    EXPECT_EQ(e.Message(), "Value must be between 1 and 2147483647");
  }
  EXPECT_EQ(g.MaxValue(), 100);
  EXPECT_EQ(g.Progress(), 40);
}

TEST(GaugeModel, RoundsThePercentageHalfToEven) {
  GaugeModel g;
  g.SetMaxValue(8);
  g.SetProgress(1);  // 12.5
  EXPECT_EQ(g.Percent(), 12);
  g.SetProgress(3);  // 37.5
  EXPECT_EQ(g.Percent(), 38);
  g.SetMaxValue(200);
  g.SetProgress(1);  // 0.5
  EXPECT_EQ(g.Percent(), 0);
  g.SetProgress(3);  // 1.5
  EXPECT_EQ(g.Percent(), 2);
  g.SetMaxValue(0);
  EXPECT_EQ(g.Percent(), 0);  // an empty range shows 0
}

}  // namespace
}  // namespace zorvan
