#include "common/local_time.h"

namespace zorvan {

// The C runtime's secure variants fill the caller's record (their arguments are in the
// opposite order to POSIX's).
std::tm LocalTime(std::time_t t) {
  std::tm out{};
  localtime_s(&out, &t);
  return out;
}

std::tm UtcTime(std::time_t t) {
  std::tm out{};
  gmtime_s(&out, &t);
  return out;
}

}  // namespace zorvan
