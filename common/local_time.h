#pragma once
// The calendar time of a moment, on any thread: std::localtime and std::gmtime hand out
// one buffer for the whole program, which the runs of a gang would share.

#include <ctime>

namespace zorvan {

// `t` in the time zone of the system's regional settings.
std::tm LocalTime(std::time_t t);
// `t` in UTC.
std::tm UtcTime(std::time_t t);

}  // namespace zorvan
