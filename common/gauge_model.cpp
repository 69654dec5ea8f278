#include "common/gauge_model.h"

#include <algorithm>

#include "common/errors.h"

namespace zorvan {

void GaugeModel::SetMaxValue(int64_t value) {
  if (value < 0) throw ERangeError("Value must be between 1 and 2147483647");
  max_ = value;
  if (min_ > max_) min_ = max_;
  SetProgress(progress_);
}

void GaugeModel::SetMinValue(int64_t value) {
  min_ = std::min(value, max_);
  SetProgress(progress_);
}

void GaugeModel::SetProgress(int64_t value) { progress_ = std::clamp(value, min_, max_); }

namespace {

// 100 × done / range rounded to the nearest whole number, halves to even, for done ≤ range.
// Worked exactly in integers: a floating-point share misplaces true halves that binary
// cannot hold (15 of 24 is 62.5, seen as a hair above it). The product 100 × done is
// built bit by bit of 100 as a quotient and a remainder below range, so nothing
// overflows, whatever the range.
uint64_t RoundedPercent(uint64_t done, uint64_t range) {
  if (done == range) return 100;
  uint64_t quotient = 0;
  uint64_t remainder = 0;
  auto add = [&](uint64_t value) {  // value < range, as remainder is
    if (remainder >= range - value) {
      remainder -= range - value;
      ++quotient;
    } else {
      remainder += value;
    }
  };
  for (int bit = 6; bit >= 0; --bit) {
    quotient *= 2;
    add(remainder);
    if ((100 >> bit) & 1) add(done);
  }
  const uint64_t rest = range - remainder;
  if (remainder > rest || (remainder == rest && quotient % 2 == 1)) ++quotient;
  return quotient;
}

}  // namespace

int64_t GaugeModel::Percent() const {
  // Differences taken in unsigned arithmetic are exact even where the bounds lie more
  // than the signed range apart.
  const uint64_t range = static_cast<uint64_t>(max_) - static_cast<uint64_t>(min_);
  if (range == 0) return 0;
  return static_cast<int64_t>(RoundedPercent(static_cast<uint64_t>(progress_) - static_cast<uint64_t>(min_), range));
}

}  // namespace zorvan
