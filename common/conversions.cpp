#include "common/conversions.h"

#include <cctype>

#include "common/errors.h"

namespace zorvan {

namespace {

int DigitValue(char c, int base) {
  int v;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else return -1;
  return v < base ? v : -1;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  // Hexadecimal text may fill all 32 bits (the toolkit reads $FFFFFFFF as -1); decimal
  // text must stay within the signed range.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) return std::nullopt;
    value = value * base + d;
    if (value > limit) return std::nullopt;
  }
  const auto bits = static_cast<uint32_t>(value);
  const auto result = static_cast<int32_t>(bits);
  return negative ? static_cast<int32_t>(0u - bits) : result;
}

int32_t StrToInt(std::string_view text) {
  if (auto v = TryStrToInt(text)) return *v;
  throw EConvertError(NotAnIntegerText(text));
}

namespace {

std::string DollarPrefixed(std::string_view digits) {
  std::string text(1 + digits.size(), '$');
  digits.copy(text.data() + 1, digits.size());
  return text;
}

}  // namespace

int32_t HexFieldToInt(std::string_view digits) {
  // The usual case, a short run of plain digits, without building the "$" text.
  if (!digits.empty() && digits.size() <= 4) {
    int32_t value = 0;
    for (char c : digits) {
      const int d = DigitValue(c, 16);
      if (d < 0) return StrToInt(DollarPrefixed(digits));
      value = value * 16 + d;
    }
    return value;
  }
  return StrToInt(DollarPrefixed(digits));
}

int32_t HexFieldToIntOr(std::string_view digits, int32_t fallback) {
  return TryStrToInt(DollarPrefixed(digits)).value_or(fallback);
}

std::string NotAnIntegerText(std::string_view text) {
  std::string message = "'";
  message.append(text);
  message.append("' is not a valid integer value");
  return message;
}

std::string IntToHex(uint64_t value, int width) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(out.size()) < width) out.insert(0, width - out.size(), '0');
  return out;
}

}  // namespace zorvan
