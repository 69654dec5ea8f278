#pragma once
// Looking for a device on the port without a word to the operator: the write button's
// identification, which the production loop repeats while it waits for a device to come
// and to go.

#include <string>

#include "protocol/flasher.h"

namespace zorvan {

struct Sighting {
  bool present = false;     // a loader answered Identify with "82"
  std::string description;  // as the version gate reads it; empty when the loader speaks another version
};

// Drains the input, wakes the loader and identifies it on the port the operator chose,
// and reads its description, with nothing shown, sounded, moved or brought to the front:
// of the flasher's surface only the port choice, the pauses and the processing of
// messages are used. A device that answered is left in its loader with the port open;
// otherwise the port is closed. Port errors are raised.
// Identify is sent once: a device that has just come is found at the next look, which
// begins afresh with the wake-up, rather than after the reply deadlines of the attempts
// sent before it came and the wait for their replies.
Sighting LookForDevice(Flasher& flasher);

// Sends a device that LookForDevice found back to its firmware (the reset sequence) and
// closes the port, as quietly. Port errors are raised.
void LetDeviceGo(Flasher& flasher);

}  // namespace zorvan
