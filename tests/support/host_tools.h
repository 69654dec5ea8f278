#pragma once
// Some tests check our output against independent host programs (srec_cat, objcopy). They
// run where those programs can be run; elsewhere the test is skipped with the reason.

#include <string>
#include <string_view>

namespace zorvan::testing {

// Empty when `tool` (from Debian package `package`) can be run by the tests here; else
// why not, as the reason to give when skipping.
std::string HostToolUnavailable(std::string_view tool, std::string_view package);

}  // namespace zorvan::testing
