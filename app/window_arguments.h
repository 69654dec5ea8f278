#pragma once
// The window program's arguments: zorvan-flasher [PORT...] [--production PORT... [--start]].
// Ports before --production are offered first in the main window's port box (ports no
// system table lists, a simulator's pseudo-terminal for one); --production opens the
// production window once the program has started, with the ports after it ticked, and
// --start starts them at once (a station that boots straight into production). Ports
// after --production are offered as well, in both windows.

#include <string>
#include <vector>

namespace zorvan::app {

struct WindowArguments {
  std::vector<std::string> virtual_ports;     // every port named, in order, each once
  bool production = false;                    // --production was given
  std::vector<std::string> production_ports;  // the ports after it
  bool start = false;                         // --start
  // What is wrong with the arguments, in the operator's words; empty when nothing is.
  std::string problem;
};

// `arguments`: the program's arguments after its name, UTF-8.
WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments);

}  // namespace zorvan::app
