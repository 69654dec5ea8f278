#pragma once
// The operator's reset command (Ctrl+L): sends the device the reset sequence on the
// chosen port, whatever it is doing.

#include "protocol/flasher.h"

namespace zorvan {

// Reopens the port with the operator's choices (when Open does not succeed, ends
// silently), sends the reset sequence, closes the port and says so. The replies are
// not examined. Port errors are not caught.
void ResetDevice(Flasher& flasher);

}  // namespace zorvan
