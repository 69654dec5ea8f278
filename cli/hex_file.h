#pragma once
// The HEX text check and write prepare: read, refused when it is not Intel HEX, and made
// into the image with the window's checks. Whatever is wrong is printed on the error
// output before any device is touched.

#include <optional>
#include <string>

#include "firmware/hex_text.h"
#include "firmware/image_builder.h"

namespace zorvan::cli {

// The text of the file at `path`, or the carried firmware when `path` is empty; nothing
// when the file cannot be read.
std::optional<HexText> ReadHexFile(const std::string& path);

// Refuses a text that is not Intel HEX (empty, binary, or without a data record), then
// prepares `image` from it; false when either refused it. With `note_missing_end`, a
// file without an end-of-file record is mentioned on the standard output.
bool PrepareHexImage(const std::string& path, HexText& text, ImageState& image, bool note_missing_end);

}  // namespace zorvan::cli
