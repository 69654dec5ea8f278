#include "bench/run_bound.h"

#include <cmath>

namespace zorvan::bench {

namespace {

double WireMs(size_t characters, unsigned baud) { return 10.0 * static_cast<double>(characters) * 1000.0 / baud; }

double LatencyMs(const std::string& frame, const DeviceTiming& t) {
  const std::string code = frame.substr(1, 2);
  if (code == "04") return t.erase_ms;
  if (code == "05") return t.write_ms;
  if (code == "06") return t.commit_ms;
  return t.answer_ms;
}

// The exchange's natural time, rounded up to whole ticks of the adapter's timer.
double ExchangeMs(const std::string& frame, size_t reply_chars, const DeviceTiming& t) {
  const double natural = WireMs(frame.size() + reply_chars, t.baud) + LatencyMs(frame, t);
  const double tick = t.adapter_latency_ms;
  return tick > 0 ? std::ceil(natural / tick - 1e-9) * tick : natural;
}

bool IsStep(const std::string& frame) {
  const std::string code = frame.substr(1, 2);
  return code == "04" || code == "05" || code == "06";
}

}  // namespace

RunBound BoundOf(const std::vector<std::string>& frames, size_t (*reply_chars)(const std::string& frame),
                 const DeviceTiming& timing) {
  constexpr double kDrainReads = 2 * 141, kWakeUps = 5 * 50, kResetPause = 100, kReadSilence = 1;
  RunBound bound;
  bound.whole_ms = kDrainReads + kWakeUps + kResetPause + kReadSilence;
  bool first_reset = true;
  for (const std::string& frame : frames) {
    if (frame == "w0101;" && first_reset) {
      first_reset = false;  // its reply comes within the pause that follows it
      continue;
    }
    const double ms = ExchangeMs(frame, reply_chars(frame), timing);
    if (IsStep(frame)) bound.blocks_ms += ms;
    bound.whole_ms += ms + (frame == "w0101;" ? kReadSilence : 0);
  }
  return bound;
}

}  // namespace zorvan::bench
