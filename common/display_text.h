#pragma once
// Texts as the operator reads them on one line, in the window's memo and on the command
// line alike.

#include <string>
#include <vector>

namespace zorvan {

// "0:42", or "1:02:03" from an hour on; to the nearest second.
std::string DurationText(double seconds);

// A text of several lines, on one: its line breaks become " / ".
std::string OneLine(const std::string& text);

// The message that tells how a run ended, from the messages it showed, in order: the last
// one, except after a failed step, whose message is followed by the warning about an
// incomplete write. Its first line with text, without the spaces that centre it.
std::string EndingMessage(const std::vector<std::string>& shown, bool failed_step);

}  // namespace zorvan
