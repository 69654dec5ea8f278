#include "firmware/firmware_source.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "common/errors.h"
#include "firmware/embedded_firmware.h"

namespace zorvan {

std::string ReadTextFile(const std::filesystem::path& path) {
  auto fail = [&](int error) {
    std::error_code ignored;
    const std::u8string utf8 = std::filesystem::absolute(path, ignored).u8string();
    const std::string full(utf8.begin(), utf8.end());
    // std::strerror's text may live in one buffer for the whole program.
    return EFileError("Cannot open file \"" + full + "\". " + std::generic_category().message(error), full, error);
  };
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw fail(EISDIR);
  std::ifstream file(path, std::ios::binary);
  if (!file) throw fail(errno);
  std::string content;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) {  // a plain file: read it in one piece
    content.resize(static_cast<size_t>(size));
    file.read(content.data(), static_cast<std::streamsize>(size));
    content.resize(static_cast<size_t>(file.gcount()));
  } else {
    content.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  if (file.bad()) throw fail(errno);
  return content;
}

HexText LoadHexText(const std::string& path) {
  if (path.empty()) return HexText(std::string(EmbeddedFirmware));
  return HexText(ReadTextFile(path));
}

std::string FileNameOnly(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

}  // namespace zorvan
