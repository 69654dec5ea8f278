#include "serial/port_list.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorvan {
namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::stable_sort(names.begin(), names.end(), PortNameLess);
  return names;
}

TEST(PortNameLess, ComparesTextIgnoringCaseNotNumbers) {
  EXPECT_EQ(Sorted({"COM1", "COM10", "COM3", "COM2"}),
            (std::vector<std::string>{"COM1", "COM10", "COM2", "COM3"}));
  EXPECT_EQ(Sorted({"/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyACM1", "/dev/ttyacm0"}),
            (std::vector<std::string>{"/dev/ttyacm0", "/dev/ttyACM1", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_FALSE(PortNameLess("com2", "COM2"));
  EXPECT_FALSE(PortNameLess("COM2", "com2"));
}

}  // namespace
}  // namespace zorvan
