#pragma once
// The subcommands of zorvan-flash; each lives in a file of its own.

#include <string>
#include <vector>

namespace zorvan::cli {

using Arguments = std::vector<std::string>;

struct Command {
  const char* name;
  const char* usage;    // the line --help shows
  const char* summary;  // what it does, a few lines
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

}  // namespace zorvan::cli
