#include "firmware/hex_lines.h"

#include <array>

#include "common/conversions.h"
#include "common/message_pump.h"

namespace zorvan {

namespace {

// Digit values by character; 0xFF for characters that are not hexadecimal digits.
constexpr auto kDigitValues = [] {
  std::array<uint8_t, 256> table{};
  table.fill(0xFF);
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<uint8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<uint8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<uint8_t>(c - 'a' + 10);
  return table;
}();

uint8_t DigitValue(char c) { return kDigitValues[static_cast<uint8_t>(c)]; }

}  // namespace

uint8_t HexPairSumByte(std::string_view text) {
  unsigned sum = 0;
  size_t p = 0;
  for (; p + 1 < text.size(); p += 2) {
    const uint8_t high = DigitValue(text[p]);
    const uint8_t low = DigitValue(text[p + 1]);
    // A pair that is not a number counts 0.
    if (high < 16 && low < 16) sum += high * 16u + low;
  }
  if (p < text.size() && DigitValue(text[p]) < 16) sum += DigitValue(text[p]);
  return static_cast<uint8_t>(sum);
}

std::string HexPairSum(std::string_view text) { return IntToHex(HexPairSumByte(text), 2); }

std::string LineMessage(const char* head, size_t line_number, std::string_view line) {
  return std::string(head) + std::to_string(line_number) + "!" + " (" + std::string(line) + ")";
}

bool CheckHexLines(OperatorSurface& surface, const HexText& text) {
  MessagePump pump(surface);
  for (size_t i = 0; i < text.LineCount(); ++i) {
    pump.Tick();
    const std::string_view line = text.Line(i);
    if (!line.empty() && line.front() == ':') {
      std::string_view rest = line.substr(1);
      auto fail = [&](const char* head) {
        surface.MessageBeep(MB_ICONHAND);
        surface.ShowMessage(LineMessage(head, i + 1, line));
        surface.SetGaugeProgress(0);
        return false;
      };
      if (rest.size() % 2 != 0) return fail(kParityErrorHead);
      const size_t body = rest.size() >= 2 ? rest.size() - 2 : 0;
      const int32_t stored = HexFieldToInt(rest.substr(body));
      rest = rest.substr(0, body);
      const uint8_t expected = static_cast<uint8_t>(256 - HexPairSumByte(rest));
      if (stored != expected) return fail(kChecksumErrorHead);
    }
    surface.StepGauge(1);
  }
  return true;
}

}  // namespace zorvan
