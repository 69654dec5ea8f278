#include "records/sha256.h"

#include <cstdio>

namespace zorvan {

std::string LowerHex(const unsigned char* bytes, size_t count) {
  std::string hex(2 * count, '0');
  for (size_t i = 0; i < count; ++i) std::snprintf(&hex[2 * i], 3, "%02x", bytes[i]);
  return hex;
}

}  // namespace zorvan
