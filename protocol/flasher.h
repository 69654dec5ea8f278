#pragma once
// What every loader procedure works with: the shared state, the operator's surface, the
// port, and the image a programming run writes.

#include "common/operator_surface.h"
#include "protocol/exchange_settings.h"
#include "protocol/flasher_state.h"
#include "serial/port_operations.h"

namespace zorvan {

struct Flasher {
  // The image is the state's own, as in the window.
  Flasher(FlasherState& state, OperatorSurface& surface, PortOperations& port)
      : Flasher(state, surface, port, state) {}
  // The runs of a gang share one prepared image, which none of them changes.
  Flasher(FlasherState& state, OperatorSurface& surface, PortOperations& port, const ImageState& image)
      : state(state), surface(surface), port(port), image(image) {}

  FlasherState& state;
  OperatorSurface& surface;
  PortOperations& port;
  const ImageState& image;
  ExchangeSettings exchange;
};

}  // namespace zorvan
