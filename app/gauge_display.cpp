#include "app/gauge_display.h"

namespace zorvan::app {

GaugeDisplay GaugeDisplay::Of(const GaugeModel& gauge) {
  GaugeDisplay display;
  display.percent = gauge.Percent();
  const int64_t range = gauge.MaxValue() - gauge.MinValue();
  if (range > 0) {
    const long double share =
        static_cast<long double>(gauge.Progress() - gauge.MinValue()) / static_cast<long double>(range);
    display.filled = static_cast<int>(share * kFull);
  }
  return display;
}

}  // namespace zorvan::app
