#pragma once
// When a transfer ends under the port's time-outs. The Win32 driver applies these rules
// itself; backends without such a driver time their transfers by them.
//
// A read of Count bytes ends when Count bytes have arrived; when the total limit has
// passed since it started; or, once a byte has arrived, when more than the interval
// passes without another. It then delivers what has arrived, possibly nothing: running
// out of time is no failure. An interval of MAXDWORD with both totals 0 returns at once
// with whatever is queued; both totals 0 mean no total limit; an interval of 0 means no
// gap limit.
//
// A write ends when all bytes are sent or the total limit has passed; both write values
// 0 mean no limit.

#include <chrono>
#include <cstdint>
#include <optional>

#include "serial/com_records.h"

namespace zorvan {

struct ReadLimits {
  bool ReturnAtOnce = false;
  std::optional<uint64_t> TotalMs;     // counted from the start of the read
  std::optional<uint64_t> IntervalMs;  // counted from the arrival of the last byte
};

ReadLimits ReadLimitsFor(const CommTimeoutsRecord& timeouts, int count);
std::optional<uint64_t> WriteLimitFor(const CommTimeoutsRecord& timeouts, int count);

// How long one character takes on the line: a start bit, the data bits, the parity bit
// when there is one, and the stop bits. Requires IsValid(settings).
std::chrono::nanoseconds CharacterTime(const LineSettings& settings);

}  // namespace zorvan
