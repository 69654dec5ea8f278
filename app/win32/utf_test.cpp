#include "app/win32/utf.h"

#include <gtest/gtest.h>

namespace zorvan::win32 {
namespace {

TEST(Utf, CyrillicAndSymbolsSurviveTheRoundTrip) {
  const std::string text = "Мікропрограма : C:\\Прошивки\\ґанок №1 - відкрита 😀";
  const std::wstring wide = Widen(text);
  EXPECT_EQ(wide.substr(0, 4), L"\u041c\u0456\u043a\u0440");
  EXPECT_EQ(Narrow(wide), text);
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Narrow(L""), "");
}

TEST(Utf, MalformedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Widen("a\xff" "b"), L"a\ufffd" L"b");
}

}  // namespace
}  // namespace zorvan::win32
