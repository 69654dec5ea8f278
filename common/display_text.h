#pragma once
// Texts as the operator reads them on one line, in the window's memo and on the command
// line alike.

#include <string>

namespace zorvan {

// "0:42", or "1:02:03" from an hour on; to the nearest second.
std::string DurationText(double seconds);

// A text of several lines, on one: its line breaks become " / ".
std::string OneLine(const std::string& text);

}  // namespace zorvan
