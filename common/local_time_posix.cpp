#include "common/local_time.h"

namespace zorvan {

std::tm LocalTime(std::time_t t) {
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

std::tm UtcTime(std::time_t t) {
  std::tm out{};
  gmtime_r(&t, &out);
  return out;
}

}  // namespace zorvan
