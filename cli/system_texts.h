#pragma once
// The system's own texts (the device's, the image's and the port's messages, labels and
// log lines, which the window shows as they stand) as the command line shows them: in
// English when the screen is English, and without the window's advice, which makes no
// sense on a command line ("reopen the program", "open the firmware with the extension
// HEX"). A HEX line's failure says what is wrong with the line.

#include <string>
#include <vector>

namespace zorvan::cli {

// `text` as the command line shows it, line by line (a line that is not one of the
// system's texts, such as a device's description, stays as it is). Lines are separated
// by LF; a message from the window's boxes goes through TerminalLines first.
std::string CommandLineText(const std::string& text);

// A line of the system's texts: the window's (with {0}, {1}... where something is filled
// in), the command line's Ukrainian (nullptr: the window's; "": left out), and English.
struct SystemLine {
  const char* window;
  const char* uk;
  const char* en;
};
const std::vector<SystemLine>& SystemLines();

}  // namespace zorvan::cli
