#pragma once
// The line the loader speaks on: 8 data bits, no parity, 1 stop bit, 2048-byte queues,
// and all five time-outs at 1 ms. The short read time-outs are what make the pauses
// before each read the pacing of the whole protocol: a read ends 1 ms after the line
// falls silent, and a late reply waits for the next read.

#include "serial/bcport.h"

namespace zorvan {

// Gives a closed port the loader's line settings; the port name and the rate are
// taken from the operator's choices before every opening.
void ApplyLoaderPortSettings(TBComPort& port);

}  // namespace zorvan
