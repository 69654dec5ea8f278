// zorvan-flash: the command-line front end to the flasher's own procedures.

#include <cstring>
#include <iostream>

#include "tools/flash/commands.h"
#include "tools/flash/exit_codes.h"

namespace zorvan::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"check", "check [FILE] [--dump-image PATH] [--dump-hex PATH]",
       "Prepares the firmware image from FILE (the carried firmware when none is given),\n"
       "with the same line checks and messages as the window, and lists the address\n"
       "ranges the records wrote. --dump-image writes the 20,000,000-byte image (0xFF\n"
       "where nothing was written); --dump-hex writes the prepared HEX text.",
       RunCheck},
      {"ports", "ports",
       "Lists the serial ports the system has registered, one device path per line, with\n"
       "the USB vendor:product, product name, serial number and driver where known.\n"
       "A pseudo-terminal, such as a simulated device's, is never listed.",
       RunPorts},
  };
  return commands;
}

namespace {

void PrintHelp(std::ostream& out) {
  out << "Usage: zorvan-flash COMMAND [OPTIONS]\n\nCommands:\n";
  for (const Command& c : Commands()) {
    out << "  " << c.usage << "\n";
    std::string summary = c.summary;
    size_t start = 0;
    while (start < summary.size()) {
      const size_t end = summary.find('\n', start);
      out << "      " << summary.substr(start, end - start) << "\n";
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  out << "\nExit status:\n"
         "  0  done: image ready, device identified, programming completed, reset sent\n"
         "  1  the command line was wrong\n"
         "  2  the HEX text was refused or could not be read\n"
         "  3  port error: the port could not be opened, read or written\n"
         "  4  no loader answered on the port\n"
         "  5  the loader speaks an unknown version\n"
         "  6  refused: the device already holds this or a newer firmware\n"
         "  7  a programming step failed for good\n"
         "  8  stopped by the operator (Ctrl+C)\n";
}

}  // namespace

}  // namespace zorvan::cli

int main(int argc, char** argv) {
  using namespace zorvan::cli;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    PrintHelp(argc < 2 ? std::cerr : std::cout);
    return argc < 2 ? kExitUsage : kExitOk;
  }
  for (const Command& c : Commands()) {
    if (c.name == std::string(argv[1])) return c.run(Arguments(argv + 2, argv + argc));
  }
  std::cerr << "zorvan-flash: unknown command '" << argv[1] << "' (see zorvan-flash --help)\n";
  return kExitUsage;
}
