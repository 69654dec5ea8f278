#pragma once
// What every loader procedure works with: the shared state, the operator's surface and
// the port.

#include "common/operator_surface.h"
#include "protocol/flasher_state.h"
#include "serial/port_operations.h"

namespace zorvan {

struct Flasher {
  FlasherState& state;
  OperatorSurface& surface;
  PortOperations& port;
};

}  // namespace zorvan
