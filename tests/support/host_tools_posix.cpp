#include "tests/support/host_tools.h"

#include <cstdlib>

namespace zorvan::testing {

std::string HostToolUnavailable(std::string_view tool, std::string_view package) {
  const std::string probe = "command -v " + std::string(tool) + " >/dev/null 2>&1";
  if (std::system(probe.c_str()) == 0) return {};
  return std::string(tool) + " (package " + std::string(package) + ") is not installed";
}

}  // namespace zorvan::testing
