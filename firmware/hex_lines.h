#pragma once
// The first pass over a HEX text: every record line must hold whole pairs of digits and
// a matching checksum.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/operator_surface.h"
#include "firmware/hex_text.h"

namespace zorvan {

// The low byte of the sum of the bytes written as hex-digit pairs, as two upper-case
// digits. A pair that is not hexadecimal counts 0; a lone last digit counts as itself.
std::string HexPairSum(std::string_view text);
uint8_t HexPairSumByte(std::string_view text);

// Checks every line that begins with ":" and steps the gauge once per line. On the first
// failure: error beep, the message naming the 1-based line, gauge to 0, false. A stored
// checksum that is not hexadecimal raises EConvertError, which is not caught here.
bool CheckHexLines(OperatorSurface& surface, const HexText& text);

// Message heads; the message is head + line number + "!" + " (" + line + ")".
inline constexpr const char* kParityErrorHead = "Порушення парності у строці мікропрограми: ";
inline constexpr const char* kChecksumErrorHead = "Помилка контрольної суми у строці мікропрограми: ";

std::string LineMessage(const char* head, size_t line_number, std::string_view line);

}  // namespace zorvan
