#pragma once
// The subcommands of zorvan-flash; each lives in a file of its own.

#include <string>
#include <vector>

#include "cli/texts.h"

namespace zorvan::cli {

using Arguments = std::vector<std::string>;

struct Command {
  const char* name;
  Msg usage;                 // its arguments, for its own help
  Msg line;                  // its line in the help's list of commands
  Msg prose;                 // what it does, a few lines
  std::vector<Msg> options;  // the option lines of its own help
  int (*run)(const Arguments& args);
};

int RunCheck(const Arguments& args);
int RunDetect(const Arguments& args);
int RunWrite(const Arguments& args);
int RunReset(const Arguments& args);
int RunPorts(const Arguments& args);
int RunRecords(const Arguments& args);

// All subcommands in the order --help lists them.
const std::vector<Command>& Commands();

// The help, whole or of one command, in the screen's language.
std::string HelpText();
std::string CommandHelpText(const Command& command);

}  // namespace zorvan::cli
