// zorvan-flash: the command-line front end to the flasher's own procedures.

#include <cstring>
#include <iostream>

#include "tools/flash/commands.h"
#include "tools/flash/console_text.h"
#include "tools/flash/exit_codes.h"
#include "tools/version.h"

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
       "Lists the serial ports the system has registered, one per line (a device path on\n"
       "Linux, a COM name on Windows), with the USB vendor:product, product name, serial\n"
       "number, driver and the adapter's latency timer where known; below each, its\n"
       "stable names on Linux (/dev/serial/by-id/...), which stay with the adapter\n"
       "wherever it is plugged in. A Linux pseudo-terminal, such as a simulated device's,\n"
       "is never listed.",
       RunPorts},
      {"detect", "detect --port PATH [--baud RATE] [--verbose]",
       "Wakes and identifies the device's loader on the port, as the window's detect\n"
       "button does, and shows the device's description.",
       RunDetect},
      {"write",
       "write --port PATH [--port PATH...] [--baud RATE] [--hex FILE] [--record FILE] [--verbose]\n"
       "        [--loop | --force [--force] | --allow-downgrade]",
       "Programs the carried firmware (or the image of FILE, prepared as check prepares\n"
       "it) into the device, as the window's write button does: identifies the device,\n"
       "refuses one that already holds this firmware or a newer one, then erases, writes\n"
       "and commits every block and resets the device. On a terminal a progress bar shows\n"
       "the bytes written, the throughput, the time left and the calibration counters;\n"
       "otherwise a line is printed at every tenth. --verbose prints every attempt.\n"
       "Ctrl+C while blocks are written asks the run to stop, as Ctrl+Delete does in the\n"
       "window (it takes effect after the first block); before that, or pressed a second\n"
       "time, it ends the program at once.\n"
       "Several --port options program several devices at once (a gang), each with the\n"
       "whole procedure of its own, from one image. On a terminal each device has a line\n"
       "that shows its progress and then its result; other output is prefixed with the\n"
       "port. A table of every device's description, result and time ends the run.\n"
       "Ctrl+C asks every run to stop; one that has erased nothing yet ends at once.\n"
       "A port named twice (by any of its names) is refused before anything starts.\n"
       "--record FILE appends one line of JSON per device and run to FILE, whatever the\n"
       "run's ending: when it began and how long it took, the host, the port and its USB\n"
       "adapter, the rate, the device's loader version and description before the run,\n"
       "the firmware (its version, and the HEX file's name and SHA-256), the result, the\n"
       "failed attempts and the final pauses. FILE is opened before any device is\n"
       "touched; when it cannot be, nothing is started.\n"
       "--loop programs device after device on each port, for a production line: it\n"
       "waits quietly for a device, programs it, shows the result, waits until the device\n"
       "has gone and waits for the next. A device is programmed once: after its run the\n"
       "device on the port is taken for the same one until the port is seen empty (its\n"
       "adapter unplugged, or nothing answering the identification, which is repeated\n"
       "every 2 s) or a device describes itself otherwise; one that holds this firmware\n"
       "is never programmed. On a terminal each port has a status line and a tally of\n"
       "passed, failed and refused devices and the time per device stands below; each\n"
       "result rings the bell once for a pass, twice for a refusal, three times for a\n"
       "failure. With --record, every run is recorded as it ends. A port that goes away\n"
       "is waited for. Ctrl+C ends the loop once the runs in progress are over; a second\n"
       "Ctrl+C stops them, as it stops a run without --loop.\n"
       "--force writes a device that the version gate refuses because it holds this\n"
       "version or describes itself with no version; a newer version needs --force twice,\n"
       "or --allow-downgrade. The loader version and the memory checks still hold, and\n"
       "the run record marks the run as forced.",
       RunWrite},
      {"reset", "reset --port PATH [--baud RATE]",
       "Sends the device the reset sequence, as Ctrl+L does in the window.",
       RunReset},
      {"records", "records FILE [--since DATE] [--port PATH]",
       "Prints the run records of FILE (written by write --record) as a table; --since\n"
       "keeps those begun at or after a local date or time (2026-03-13, or\n"
       "\"2026-03-13 14:05\"), --port those of one port. A last line cut short by a\n"
       "crash is left out.",
       RunRecords},
  };
  return commands;
}

namespace {

void PrintIndented(std::ostream& out, const std::string& text, const char* indent) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    out << indent << text.substr(start, end - start) << "\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void PrintHelp(std::ostream& out) {
  out << "Usage: zorvan-flash COMMAND [OPTIONS]\n\nCommands:\n";
  for (const Command& c : Commands()) {
    out << "  " << c.usage << "\n";
    PrintIndented(out, c.summary, "      ");
  }
  out << "\nOptions:\n"
         "  --help     show this text\n"
         "  --version  show the program's version\n"
         "\nExit status:\n"
         "  0  done: image ready, device identified, programming completed, reset sent\n"
         "  1  the command line was wrong\n"
         "  2  the HEX text was refused or could not be read\n"
         "  3  port error: the port could not be opened, read or written\n"
         "  4  no loader answered on the port\n"
         "  5  the loader speaks an unknown version\n"
         "  6  refused: the device already holds this or a newer firmware\n"
         "  7  a programming step failed for good\n"
         "  8  stopped by the operator (Ctrl+C)\n"
         "  9  declined: the device's memory reaches past the 16 MiB the erase address can\n"
         "     name, or is too small to hold the whole firmware\n"
         " 10  the device's description is six characters that are not a version number\n"
         " 11  several ports: not every device was programmed (the table gives each one's\n"
         "     result and status)\n"
         " 12  the run record file could not be opened (nothing was started) or written\n"
         " 13  --loop: at least one device failed (the records and the result lines say which)\n"
         "\nRATE is one of 110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000,\n"
         "57600, 115200 (the default), 128000, 256000. PATH is, on Linux, a device path\n"
         "(/dev/ttyUSB0) or a name under /dev (ttyUSB0); on Windows, a port name (COM3).\n";
}

}  // namespace

}  // namespace zorvan::cli

int main(int argc, char** argv) {
  using namespace zorvan::cli;
  PrepareConsoleText();
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
      std::strcmp(argv[1], "help") == 0) {
    PrintHelp(argc < 2 ? std::cerr : std::cout);
    return argc < 2 ? kExitUsage : kExitOk;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::cout << "zorvan-flash " << zorvan::kProgramVersion << "\n";
    return kExitOk;
  }
  for (const Command& c : Commands()) {
    if (c.name != std::string(argv[1])) continue;
    const Arguments arguments(argv + 2, argv + argc);
    // "zorvan-flash write --help" asks for the command's own part of the help.
    for (const std::string& argument : arguments) {
      if (argument == "--help" || argument == "-h") {
        std::cout << "Usage: zorvan-flash " << c.usage << "\n\n";
        PrintIndented(std::cout, c.summary, "  ");
        std::cout << "\nSee zorvan-flash --help for the exit statuses, the rates and the port names.\n";
        return kExitOk;
      }
    }
    return c.run(arguments);
  }
  std::cerr << "zorvan-flash: unknown command '" << argv[1] << "' (see zorvan-flash --help)\n";
  return kExitUsage;
}
