#pragma once
// Text-to-number conversions with the rules the firmware text and the loader replies rely on.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorvan {

// Converts text as the toolkit's integer conversion does: optional leading blanks, an
// optional sign, then decimal digits, or "$", "0x" or "0X" followed by hexadecimal digits,
// within the 32-bit signed range. Returns nothing for any other text.
std::optional<int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, raising EConvertError "'<text>' is not a valid integer value" on failure.
int32_t StrToInt(std::string_view text);

// Hexadecimal digits read the way the firmware text and the replies are read: "$" is put
// in front of the digits and the result converted.
int32_t HexFieldToInt(std::string_view digits);                  // raises EConvertError
int32_t HexFieldToIntOr(std::string_view digits, int32_t fallback);  // never raises

// The conversion error's own text for a given source text.
std::string NotAnIntegerText(std::string_view text);

// Upper-case hexadecimal, at least `width` digits (more when the value needs them).
std::string IntToHex(uint64_t value, int width);

}  // namespace zorvan
