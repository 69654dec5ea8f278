#include "tools/sim/flash_check.h"

#include "common/conversions.h"

namespace zorvan::sim {

namespace {

int Digit(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

}  // namespace

std::string CompareFlashWithImage(const std::vector<uint8_t>& flash, const ImageState& image) {
  const std::string& digits = image.ImageText;
  size_t differing = 0;
  size_t first = 0;
  for (size_t address = 0; address < flash.size(); ++address) {
    const size_t at = 2 * address;
    const int expected = at + 1 < digits.size() ? Digit(digits[at]) * 16 + Digit(digits[at + 1]) : 0xFF;
    if (flash[address] != expected && differing++ == 0) first = address;
  }
  uint64_t beyond = 0;
  for (const ByteRange& r : image.WrittenRanges) {
    if (r.End > flash.size()) beyond += r.End - std::max<uint64_t>(r.First, flash.size());
  }
  std::string report;
  if (differing > 0) {
    report = std::to_string(differing) + " of " + std::to_string(flash.size()) +
             " bytes differ, the first at 0x" + IntToHex(first, 6);
  }
  if (beyond > 0) {
    report += (report.empty() ? "" : "; ") + std::to_string(beyond) +
              " bytes of the image lie beyond the device's " + std::to_string(flash.size()) + " bytes";
  }
  return report;
}

}  // namespace zorvan::sim
