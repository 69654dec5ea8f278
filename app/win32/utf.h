#pragma once
// Text crosses between the program, which speaks UTF-8, and the system's wide (UTF-16)
// calls here and nowhere else.

#include <string>
#include <string_view>

namespace zorvan::win32 {

// Malformed UTF-8 becomes U+FFFD rather than an error: a caption is never worth a failure.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace zorvan::win32
