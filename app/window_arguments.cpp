#include "app/window_arguments.h"

#include <algorithm>

namespace zorvan::app {

WindowArguments ParseWindowArguments(const std::vector<std::string>& arguments) {
  WindowArguments parsed;
  for (const std::string& argument : arguments) {
    if (argument == "--production") {
      parsed.production = true;
    } else if (argument == "--start") {
      parsed.start = true;
    } else if (argument.rfind("--", 0) == 0) {
      if (parsed.problem.empty()) parsed.problem = "Невідомий параметр: " + argument;
    } else {
      if (parsed.production) parsed.production_ports.push_back(argument);
      if (std::find(parsed.virtual_ports.begin(), parsed.virtual_ports.end(), argument) ==
          parsed.virtual_ports.end()) {
        parsed.virtual_ports.push_back(argument);
      }
    }
  }
  if (parsed.start && !parsed.production && parsed.problem.empty()) {
    parsed.problem = "Параметр --start можна дати лише з --production";
  }
  return parsed;
}

}  // namespace zorvan::app
