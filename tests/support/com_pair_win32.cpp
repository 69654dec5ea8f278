#include "tests/support/com_pair_win32.h"

#include <windows.h>

#include <cstdlib>

namespace zorvan::testing {

std::optional<std::pair<std::string, std::string>> TestComPair() {
  const char* value = std::getenv("ZORVAN_TEST_COM_PAIR");
  if (value == nullptr) return std::nullopt;
  const std::string pair = value;
  const size_t comma = pair.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == pair.size()) return std::nullopt;
  return std::pair{pair.substr(0, comma), pair.substr(comma + 1)};
}

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace zorvan::testing
