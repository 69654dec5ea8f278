// Feeds arbitrary text to the HEX line checks and the record placing, the two passes
// that read operator-supplied files. Any crash, sanitizer report or write outside the
// image is a fault; refused text and conversion errors are the expected outcomes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/errors.h"
#include "firmware/hex_lines.h"
#include "firmware/image_builder.h"
#include "tests/support/recording_surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zorvan;
  // One image for every input: filling 40,000,000 digits per input would leave little
  // time for anything else, and the placing only ever overwrites digits in place.
  static std::string image(kImageLength, 'F');
  testing::RecordingSurface surface;
  surface.record_gauge_steps = false;
  surface.really_sleep = false;
  HexText text(std::string(reinterpret_cast<const char*>(data), size));
  text.UpperCase();
  try {
    surface.SetGaugeMax(static_cast<int64_t>(text.LineCount()) - 1);
    if (!CheckHexLines(surface, text)) return 0;
    std::vector<ByteRange> written;
    PlaceRecords(surface, text, image, written);
  } catch (const Exception&) {
    // A conversion error or a refused gauge maximum: reported to the operator as such.
  }
  if (image.size() != kImageLength) __builtin_trap();
  return 0;
}
