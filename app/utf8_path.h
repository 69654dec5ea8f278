#pragma once
// Paths as the windows hold them, in UTF-8, and as the file system takes them: on Windows
// a narrow path would be read in the ANSI code page and lose a Cyrillic folder name.

#include <filesystem>
#include <string>

namespace zorvan::app {

inline std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace zorvan::app
