#pragma once
// Where a HEX text comes from: the carried firmware or a file the operator chose.

#include <filesystem>
#include <string>

#include "firmware/hex_text.h"

namespace zorvan {

// The file's whole content; raises zorvan::EFileError with the text
// Cannot open file "<full path>". <reason>
// A path object, so that a folder name in Cyrillic reaches the system intact on Windows,
// where a narrow string would be read in the ANSI code page.
std::string ReadTextFile(const std::filesystem::path& path);

// The carried firmware when `path` is empty, else the file.
HexText LoadHexText(const std::string& path);

// The name of a file without its folder.
std::string FileNameOnly(const std::string& path);

}  // namespace zorvan
