#include "common/gauge_model.h"

#include <gtest/gtest.h>

#include <cstdint>

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

// Every maximum and progress up to 2000 against the exact share: floating point rounds
// true halves such as 15 of 24 (62.5) or 11 of 88 (12.5) the wrong way.
TEST(GaugeModel, RoundsThePercentageExactlyHalfToEven) {
  GaugeModel g;
  int mismatches = 0;
  for (int64_t max = 1; max <= 2000; ++max) {
    g.SetMaxValue(max);
    for (int64_t progress = 0; progress <= max; ++progress) {
      g.SetProgress(progress);
      // 100 × progress / max = whole + part / max, with 0 ≤ part < max.
      const int64_t whole = 100 * progress / max;
      const int64_t part = 100 * progress % max;
      const bool up = 2 * part > max || (2 * part == max && whole % 2 == 1);
      const int64_t expected = whole + (up ? 1 : 0);
      if (g.Percent() != expected && ++mismatches <= 5) {
        ADD_FAILURE() << progress << " of " << max << ": " << g.Percent() << "%, expected " << expected << "%";
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
  g.SetMaxValue(0);
  EXPECT_EQ(g.Percent(), 0);  // an empty range shows 0
}

TEST(GaugeModel, ThePercentageOfTheWidestRangeIsExact) {
  GaugeModel g;
  g.SetMaxValue(INT64_MAX);
  g.SetMinValue(INT64_MIN);
  g.SetProgress(0);  // 2^63 of 2^64 − 1: a hair above a half
  EXPECT_EQ(g.Percent(), 50);
  g.SetProgress(INT64_MAX - 1);  // 2^64 − 2 of 2^64 − 1
  EXPECT_EQ(g.Percent(), 100);
  g.SetProgress(INT64_MIN + 1);
  EXPECT_EQ(g.Percent(), 0);
  g.SetMinValue(0);
  g.SetProgress(INT64_MAX / 200);  // just under 0.5%
  EXPECT_EQ(g.Percent(), 0);
  g.SetProgress(INT64_MAX / 200 + 1);  // just over it
  EXPECT_EQ(g.Percent(), 1);
}

}  // namespace
}  // namespace zorvan
