#include "app/win32/memo.h"

#include <gtest/gtest.h>

namespace zorvan::win32 {
namespace {

// An edit control shows a lone LF or CR as no break at all: the firmware's lines would
// run together.
TEST(WithWindowsLineBreaks, EveryKindOfBreakBecomesCrLfAndNothingElseChanges) {
  EXPECT_EQ(WithWindowsLineBreaks(":00000001FF\n:02\r:03\r\n:04"), L":00000001FF\r\n:02\r\n:03\r\n:04");
  EXPECT_EQ(WithWindowsLineBreaks("\r\n\n\r"), L"\r\n\r\n\r\n");
  EXPECT_EQ(WithWindowsLineBreaks("Прилад"), L"\u041f\u0440\u0438\u043b\u0430\u0434");
}

}  // namespace
}  // namespace zorvan::win32
