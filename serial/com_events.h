#pragma once
// The line events a port watches while open, and how the device reports them: the
// event-mask bits, the line-error flags and the modem-status bits, with their Win32
// values, which the Linux backend reports in the same form.

#include <array>
#include <cstdint>
#include <optional>

#include "serial/com_types.h"
#include "serial/enum_set.h"

namespace zorvan {

// The kinds of line event, in bit order.
enum TComEventKind : uint8_t {
  ekRxChar, ekTxEmpty, ekRing, ekCTS, ekDSR, ekRLSD, ekError, ekRx80Full
};
using TComEventKinds = EnumSet<TComEventKind>;

inline constexpr TComEventKinds kAllEventKinds = TComEventKinds::FromBits(0xFF);

// The device's event-mask bit of each kind, in the kinds' order. A window notice carries
// the same value as its code.
inline constexpr std::array<uint32_t, 8> kEventMaskBits = {
    0x0001,  // EV_RXCHAR
    0x0004,  // EV_TXEMPTY
    0x0100,  // EV_RING
    0x0008,  // EV_CTS
    0x0010,  // EV_DSR
    0x0020,  // EV_RLSD
    0x0080,  // EV_ERR
    0x0400,  // EV_RX80FULL
};

// The order in which one wait's events are handled: errors come first, because the
// receive-queue count read for a received character clears the error flags.
inline constexpr std::array<TComEventKind, 8> kDispatchOrder = {
    ekError, ekRxChar, ekTxEmpty, ekRing, ekCTS, ekDSR, ekRLSD, ekRx80Full};

// The OR of the mask bits of the kinds in `kinds`.
uint32_t EventKindsToMask(TComEventKinds kinds);
// The kinds whose bit is in `mask`; other bits are ignored.
TComEventKinds MaskToEventKinds(uint32_t mask);

// The window message that carries one event to the port's notice window, and the kind a
// notice code stands for (none for a code that is no kind's).
inline constexpr uint32_t PortEventNotice = 1025;  // WM_USER + 1
inline constexpr uint32_t NoticeCode(TComEventKind kind) { return kEventMaskBits[kind]; }
std::optional<TComEventKind> NoticeKind(uint32_t code);

// The line errors OnError is told of, in bit order.
enum TComError : uint8_t { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = EnumSet<TComError>;

// The device's line-error flags (CE_*).
namespace comm_error {
inline constexpr uint32_t kRxOver = 0x0001;
inline constexpr uint32_t kOverrun = 0x0002;
inline constexpr uint32_t kRxParity = 0x0004;
inline constexpr uint32_t kFrame = 0x0008;
inline constexpr uint32_t kBreak = 0x0010;
inline constexpr uint32_t kTxFull = 0x0100;
inline constexpr uint32_t kIO = 0x0400;
inline constexpr uint32_t kMode = 0x8000;
}  // namespace comm_error

// The errors in the device's flags. A parity flag counts only when the port checks a
// parity: without one, the driver's parity flag means nothing. Other flags are ignored.
TComErrors ErrorFlagsToComErrors(uint32_t flags, TParity parity);

// The modem input signals, in bit order.
enum TComLineSignal : uint8_t { lsCTS, lsDSR, lsRing, lsRLSD };
using TComLineSignals = EnumSet<TComLineSignal>;

// The device's modem-status bits (MS_*).
namespace modem_status {
inline constexpr uint32_t kCTS = 0x10;
inline constexpr uint32_t kDSR = 0x20;
inline constexpr uint32_t kRing = 0x40;
inline constexpr uint32_t kRLSD = 0x80;
}  // namespace modem_status

TComLineSignals ModemStatusToLineSignals(uint32_t status);

}  // namespace zorvan
