#pragma once
// The SHA-256 of a text, which identifies a HEX file in the run records. The system's
// own cryptography computes it: OpenSSL's libcrypto on Linux, CNG (bcrypt) on Windows.

#include <cstddef>
#include <string>

namespace zorvan {

// 64 lower-case hex digits; each platform's file provides it.
std::string Sha256Hex(const std::string& bytes);

// The bytes as lower-case hex digits, two per byte.
std::string LowerHex(const unsigned char* bytes, size_t count);

}  // namespace zorvan
