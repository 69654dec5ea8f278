#pragma once
// Turns a checked HEX text into the image of device memory: 20,000,000 bytes held as
// 40,000,000 upper-case hex digits, "FF" wherever no record wrote.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/operator_surface.h"
#include "firmware/hex_text.h"

namespace zorvan {

inline constexpr size_t kImageBytes = 20'000'000;
inline constexpr size_t kImageLength = 2 * kImageBytes;  // digits in the image text

// A run of byte addresses [First, End) that data records wrote.
struct ByteRange {
  uint32_t First;
  uint32_t End;
  bool operator==(const ByteRange&) const = default;
};

// The image of device memory. A preparation builds its image in SpareImage and makes it
// ImageText only when the whole preparation has succeeded, so a failed one never leaves
// a half-placed image behind for a programming run to write into a device.
struct ImageState {
  std::string ImageText;
  bool ImageComplete = false;  // ImageText is the whole result of a successful preparation
  std::vector<ByteRange> WrittenRanges;  // what the records of ImageText wrote, sorted, merged
  std::string SpareImage;      // storage reused by the next preparation
};

// Upper-cases the text, checks every line, fills and places the image. On success the
// new image replaces ImageText, the write button is enabled and the information beep
// sounds. On failure its message has been shown and the earlier image stays. Conversion
// errors (EConvertError) and a refused gauge maximum (ERangeError) are not caught.
bool PrepareImage(OperatorSurface& surface, HexText& text, ImageState& image);

// Fills `image` with kImageLength "F" digits, as a gauge phase of its own (maximum 60000,
// one step per 40 digits, full after the first 2,400,000).
void FillImage(OperatorSurface& surface, std::string& image);

// Copies the data digits of every data record into `image` at its address. Stops with
// success at the end-of-file record or the last line; fails with a message on a start
// linear address record and on a record that does not fit the image or its own line.
// `written` receives the byte ranges the records wrote, sorted and merged.
bool PlaceRecords(OperatorSurface& surface, const HexText& text, std::string& image,
                  std::vector<ByteRange>& written);

inline constexpr const char* kStartLinearAddressHead =
    "Знайдено: Start Linear Address Records (MDK-ARM only): ";
inline constexpr const char* kOutsideImageHead = "Запис поза межами пам'яті приладу у строці мікропрограми: ";
inline constexpr const char* kTruncatedRecordHead = "Неповний запис у строці мікропрограми: ";

}  // namespace zorvan
