#include "serial/transfer_limits.h"

namespace zorvan {

namespace {

std::optional<uint64_t> TotalLimit(uint32_t multiplier, uint32_t constant, int count) {
  if (multiplier == 0 && constant == 0) return std::nullopt;
  // 64 bits hold MAXDWORD × the largest count without wrapping round to a short limit.
  return uint64_t{multiplier} * static_cast<uint64_t>(count > 0 ? count : 0) + constant;
}

}  // namespace

ReadLimits ReadLimitsFor(const CommTimeoutsRecord& t, int count) {
  ReadLimits limits;
  if (t.ReadIntervalTimeout == kMaxDword && t.ReadTotalTimeoutMultiplier == 0 &&
      t.ReadTotalTimeoutConstant == 0) {
    limits.ReturnAtOnce = true;
    return limits;
  }
  limits.TotalMs = TotalLimit(t.ReadTotalTimeoutMultiplier, t.ReadTotalTimeoutConstant, count);
  if (t.ReadIntervalTimeout != 0) limits.IntervalMs = t.ReadIntervalTimeout;
  return limits;
}

std::optional<uint64_t> WriteLimitFor(const CommTimeoutsRecord& t, int count) {
  return TotalLimit(t.WriteTotalTimeoutMultiplier, t.WriteTotalTimeoutConstant, count);
}

std::chrono::nanoseconds CharacterTime(const LineSettings& settings) {
  // In half bits, for one and a half stop bits.
  const uint64_t stop_half_bits = settings.StopBits == sb1 ? 2 : settings.StopBits == sb1_5 ? 3 : 4;
  const uint64_t half_bits = 2 * (1 + (settings.ByteSize + 5u) + (settings.Parity == paNone ? 0 : 1)) + stop_half_bits;
  return std::chrono::nanoseconds(half_bits * 500'000'000ULL / BaudRateValues[settings.BaudRate]);
}

}  // namespace zorvan
