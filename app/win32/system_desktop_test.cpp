#include "app/win32/system_desktop.h"

#include <gtest/gtest.h>

namespace zorvan::win32 {
namespace {

TEST(FileDialogFilter, PairsBecomeNulSeparatedAndDoublyTerminated) {
  using namespace std::string_literals;
  EXPECT_EQ(FileDialogFilter("Файли: I8HEX, I16HEX, I32HEX|*.hex"),
            L"\u0424\u0430\u0439\u043b\u0438: I8HEX, I16HEX, I32HEX\0*.hex\0\0"s);
  EXPECT_EQ(FileDialogFilter("HEX|*.hex|All|*.*"), L"HEX\0*.hex\0All\0*.*\0\0"s);
}

}  // namespace
}  // namespace zorvan::win32
