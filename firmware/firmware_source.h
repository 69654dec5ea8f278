#pragma once
// Where a HEX text comes from: the carried firmware or a file the operator chose.

#include <string>

#include "firmware/hex_text.h"

namespace zorvan {

// The file's whole content; raises zorvan::Exception with the text
// Cannot open file "<full path>". <reason>
std::string ReadTextFile(const std::string& path);

// The carried firmware when `path` is empty, else the file.
HexText LoadHexText(const std::string& path);

// The name of a file without its folder.
std::string FileNameOnly(const std::string& path);

}  // namespace zorvan
