#include "common/conversions.h"

#include <gtest/gtest.h>

#include "common/errors.h"

namespace zorvan {
namespace {

TEST(StrToInt, ReadsDecimalAndPrefixedHexadecimalText) {
  EXPECT_EQ(StrToInt("260313"), 260313);
  EXPECT_EQ(StrToInt("  42"), 42);
  EXPECT_EQ(StrToInt("-17"), -17);
  EXPECT_EQ(StrToInt("$3fFF"), 0x3FFF);
  EXPECT_EQ(StrToInt("0x10"), 16);
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
}

TEST(StrToInt, RefusesOtherTextWithTheConversionMessage) {
  for (const char* text : {"", "$", "$ 1", "$  ", "12a", "2147483648", "$100000000", "26 313"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

TEST(HexField, PutsADollarInFrontOfTheDigits) {
  EXPECT_EQ(HexFieldToInt("1A"), 26);
  EXPECT_EQ(HexFieldToIntOr("G1", 0), 0);
  EXPECT_EQ(HexFieldToIntOr("", 0), 0);
  try {
    HexFieldToInt("  ");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'$  ' is not a valid integer value");
  }
}

TEST(IntToHex, PadsToTheWidthAndKeepsLongerValuesWhole) {
  EXPECT_EQ(IntToHex(0, 6), "000000");
  EXPECT_EQ(IntToHex(0x1FC00, 6), "01FC00");
  EXPECT_EQ(IntToHex(0x1234567, 6), "1234567");
}

TEST(ExceptionDisplay, AddsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(ExceptionDisplayText("Порт зайнятий іншою програмою"), "Порт зайнятий іншою програмою.");
  EXPECT_EQ(ExceptionDisplayText("'$' is not a valid integer value"), "'$' is not a valid integer value.");
  EXPECT_EQ(ExceptionDisplayText("Відкрийте програму!"), "Відкрийте програму!");
  EXPECT_EQ(ExceptionDisplayText("done."), "done.");
  EXPECT_EQ(ExceptionDisplayText("a-"), "a-");
  EXPECT_EQ(ExceptionDisplayText(""), "");
}

}  // namespace
}  // namespace zorvan
