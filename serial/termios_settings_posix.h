#pragma once
// The Linux form of the port's line settings: a termios2 record, which takes any rate in
// bit/s (BOTHER), so that 14400, 56000, 128000 and 256000, which have no Bnnn constant,
// work like the others.
//
// This header brings in the kernel's termios definitions, which clash with <termios.h>:
// files that include it must not include <termios.h>.

#include <asm/termbits.h>

#include "serial/com_records.h"

namespace zorvan {

// Raw mode: no echo, no line editing or signals, no character translation, no flow
// control of either kind; the receiver on and the modem lines ignored (CLOCAL), so a
// device without carrier detect can be read. Requires IsValid(settings).
void FillTermios2(termios2& t, const LineSettings& settings);

// Whether the rate the driver reports back is the one asked for, within the few per cent
// a UART tolerates. A driver that cannot make a rate settles on another and says so here.
bool RateAccepted(const termios2& reported, uint32_t requested_rate);

}  // namespace zorvan
