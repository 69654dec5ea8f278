#pragma once
// A port's failure as the command line tells it: the port's own text with the path that
// was tried and advice that fits a command line, or, when a folder, a file or a device
// the user may not open stands there, one line that says so.

#include <string>

#include "cli/progress_surface.h"

namespace zorvan::cli {

// `system_text` is the port's exception text; `port` the name the operator gave.
std::string PortErrorText(const std::string& port, const std::string& system_text);

// The line that says what stands at the port's path instead of a port it may open; empty
// when a port or nothing stands there.
std::string PortHint(const std::string& port);

// What a run that ended after its first erase must tell: the device holds part of the
// firmware, how far the writing got, and that it must be written again.
std::string PartlyWrittenText(const WritingProgress& progress);

}  // namespace zorvan::cli
