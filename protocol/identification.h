#pragma once
// Finding the loader on the chosen port: wake it, identify it, check its loader version,
// learn the memory geometry and read the device's description into the memo.

#include <string>
#include <string_view>

#include "protocol/flasher.h"

namespace zorvan {

enum class IdentifyOutcome { Found, NotFound, UnknownLoaderVersion };

// The same sequence starts the detect button and the write button; they differ in a
// beep, a drain of the input, the not-found text, the open button and the empty
// description's stand-in.
enum class IdentifyVariant { DetectButton, WriteButton };

// How many times Identify is sent before the device is taken as not there.
inline constexpr int kIdentifyAttempts = 10;

// Opens the port with the operator's choices and identifies the device. Not found: the
// port is closed and the message shown. Unknown loader version: the message shown, the
// port left open. Found: the geometry is in the state, the description in the memo and
// the port open; nothing is shown yet. Port and conversion errors are not caught.
// Fewer `attempts` serve the production loop's looks, which are repeated anyway.
IdentifyOutcome IdentifyDevice(Flasher& flasher, IdentifyVariant variant, int attempts = kIdentifyAttempts);

// The detect button: identifies the device and, when found, reports it and asks for
// the HEX file meant for it. The port stays open.
IdentifyOutcome ButtonConectClick(Flasher& flasher);

// Takes the description out of a Describe reply held in IdentText: IdentText becomes
// the reply from its fourth character without the last one, and the description is
// that without its last two characters. Returns false, with `description` empty, when
// nothing was left after the first cut (a reply of four characters or fewer).
bool CutDescription(std::string& ident_text, std::string& description);

// The memo text a description becomes: a line feed starts a new line only after a
// line that is not empty; every other character, carriage return included, is kept.
std::string DescriptionMemoText(std::string_view description);

}  // namespace zorvan
