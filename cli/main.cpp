// zorvan-flash: the command-line front end to the flasher's own procedures.

#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "common/exit_codes.h"
#include "cli/language.h"
#include "common/version.h"

int main(int argc, char** argv) {
  using namespace zorvan;
  using namespace zorvan::cli;
  PrepareConsoleText();
  SetLanguage(UsersLanguage());
  const std::string first = argc < 2 ? std::string() : argv[1];
  if (argc < 2 || first == "--help" || first == "-h" || first == "help") {
    (argc < 2 ? std::cerr : std::cout) << HelpText();
    return argc < 2 ? kExitUsage : kExitOk;
  }
  if (first == "--version" || first == "-V") {
    std::cout << "zorvan-flash " << zorvan::kProgramVersion << "\n";
    return kExitOk;
  }
  for (const Command& c : Commands()) {
    if (c.name != first) continue;
    const Arguments arguments(argv + 2, argv + argc);
    // "zorvan-flash write --help" asks for the command's own part of the help.
    for (const std::string& argument : arguments) {
      if (argument == "--help" || argument == "-h") {
        std::cout << CommandHelpText(c);
        return kExitOk;
      }
    }
    return c.run(arguments);
  }
  std::cerr << Say(Msg::UnknownCommand, {first}) << "\n";
  return kExitUsage;
}
