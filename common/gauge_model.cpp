#include "common/gauge_model.h"

#include <algorithm>
#include <cmath>

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

int64_t GaugeModel::Percent() const {
  const int64_t range = max_ - min_;
  if (range == 0) return 0;
  // The share is computed as the gauge draws it, 100 / range * done, and rounded the
  // banker's way.
  const double share = 100.0 / static_cast<double>(range) * static_cast<double>(progress_ - min_);
  return static_cast<int64_t>(std::nearbyint(share));
}

}  // namespace zorvan
