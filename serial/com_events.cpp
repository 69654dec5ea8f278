#include "serial/com_events.h"

namespace zorvan {

uint32_t EventKindsToMask(TComEventKinds kinds) {
  uint32_t mask = 0;
  for (size_t kind = 0; kind < kEventMaskBits.size(); ++kind) {
    if (kinds.Contains(static_cast<TComEventKind>(kind))) mask |= kEventMaskBits[kind];
  }
  return mask;
}

TComEventKinds MaskToEventKinds(uint32_t mask) {
  TComEventKinds kinds;
  for (size_t kind = 0; kind < kEventMaskBits.size(); ++kind) {
    if ((mask & kEventMaskBits[kind]) != 0) kinds.Include(static_cast<TComEventKind>(kind));
  }
  return kinds;
}

std::optional<TComEventKind> NoticeKind(uint32_t code) {
  for (size_t kind = 0; kind < kEventMaskBits.size(); ++kind) {
    if (kEventMaskBits[kind] == code) return static_cast<TComEventKind>(kind);
  }
  return std::nullopt;
}

TComErrors ErrorFlagsToComErrors(uint32_t flags, TParity parity) {
  struct Mapping {
    uint32_t Flag;
    TComError Error;
  };
  static constexpr Mapping kMappings[] = {
      {comm_error::kFrame, ceFrame},     {comm_error::kRxParity, ceRxParity},
      {comm_error::kOverrun, ceOverrun}, {comm_error::kBreak, ceBreak},
      {comm_error::kIO, ceIO},           {comm_error::kMode, ceMode},
      {comm_error::kRxOver, ceRxOver},   {comm_error::kTxFull, ceTxFull},
  };
  TComErrors errors;
  for (const Mapping& m : kMappings) {
    if ((flags & m.Flag) == 0) continue;
    if (m.Error == ceRxParity && parity == paNone) continue;
    errors.Include(m.Error);
  }
  return errors;
}

TComLineSignals ModemStatusToLineSignals(uint32_t status) {
  TComLineSignals signals;
  if (status & modem_status::kCTS) signals.Include(lsCTS);
  if (status & modem_status::kDSR) signals.Include(lsDSR);
  if (status & modem_status::kRing) signals.Include(lsRing);
  if (status & modem_status::kRLSD) signals.Include(lsRLSD);
  return signals;
}

}  // namespace zorvan
