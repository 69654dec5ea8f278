#pragma once
// The numbers behind the percentage gauge, shared by the window's widget and the
// command line's progress bar so both clamp and round alike.

#include <cstdint>

namespace zorvan {

// A progress range with 64-bit bounds whose position always lies inside it.
class GaugeModel {
 public:
  int64_t MinValue() const { return min_; }
  int64_t MaxValue() const { return max_; }
  int64_t Progress() const { return progress_; }

  // A negative maximum is refused with "Value must be between 1 and 2147483647".
  void SetMaxValue(int64_t value);
  void SetMinValue(int64_t value);
  // Clamped into MinValue..MaxValue.
  void SetProgress(int64_t value);
  void AddProgress(int64_t step) { SetProgress(progress_ + step); }

  // The whole number nearest to the share done in percent, halves to even; 0 for an
  // empty range.
  int64_t Percent() const;

 private:
  int64_t min_ = 0;
  int64_t max_ = 100;
  int64_t progress_ = 0;
};

}  // namespace zorvan
