#pragma once
// What the percentage gauge shows for its numbers: how much of its bar is filled, and the
// whole percentage written across it with the gauge's suffix.

#include <cstdint>
#include <string>

#include "common/gauge_model.h"

namespace zorvan::app {

struct GaugeDisplay {
  static constexpr int kFull = 10000;  // `filled` of a full bar

  int filled = 0;        // the share done, in ten-thousandths of the bar, rounded down
  int64_t percent = 0;   // the whole percentage nearest to the share done, halves to even

  bool operator==(const GaugeDisplay&) const = default;

  static GaugeDisplay Of(const GaugeModel& gauge);
  // "37%" for 37 and the suffix "%".
  std::string Caption(const std::string& suffix) const { return std::to_string(percent) + suffix; }
};

}  // namespace zorvan::app
