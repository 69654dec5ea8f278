// zorvan-flash check: prepares an image as the window does at start-up or on opening a
// file, and tells what the records wrote.

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <memory>

#include "common/conversions.h"
#include "firmware/image_builder.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "common/exit_codes.h"
#include "cli/hex_file.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

int HexDigitValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

// Writes `bytes` to a new file at `path`; prints the system's reason and returns false
// when it cannot.
bool WriteFile(const std::string& path, const std::string& bytes) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
  int error = errno;
  if (file) {
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    error = errno;
    if (written && std::fflush(file.get()) == 0) return true;
    error = errno;
  }
  std::cerr << Say(Msg::CannotWriteFile, {path, ErrorReason(error)}) << "\n";
  return false;
}

std::string ImageBytes(const std::string& image_text) {
  std::string bytes(image_text.size() / 2, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(HexDigitValue(image_text[2 * i]) * 16 + HexDigitValue(image_text[2 * i + 1]));
  }
  return bytes;
}

}  // namespace

int RunCheck(const Arguments& args) {
  std::string file, dump_image, dump_hex;
  bool quiet = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--dump-image" || a == "--dump-hex") {
      if (i + 1 == args.size()) return UsageError("check", Say(Msg::NeedsValue, {a}));
      (a == "--dump-image" ? dump_image : dump_hex) = args[++i];
    } else if (a == "-q" || a == "--quiet") {
      quiet = true;
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      return UsageError("check", Say(Msg::UnexpectedArgument, {a}));
    }
  }
  std::optional<HexText> text = ReadHexFile(file);
  ImageState image;
  if (!text || !PrepareHexImage(file, *text, image, /*note_missing_end=*/!quiet)) return kExitHexError;
  size_t total = 0;
  for (const ByteRange& r : image.WrittenRanges) {
    if (!quiet) {
      std::cout << Say(Msg::RangeLine, {IntToHex(r.First, 6), IntToHex(r.End - 1, 6), std::to_string(r.End - r.First)})
                << "\n";
    }
    total += r.End - r.First;
  }
  std::cout << Say(Msg::ImageReady, {std::to_string(total), file.empty() ? Say(Msg::TheCarriedFirmware) : file,
                                     std::to_string(image.WrittenRanges.size())})
            << "\n";
  if (!dump_image.empty() && !WriteFile(dump_image, ImageBytes(image.ImageText))) return kExitDumpFailed;
  if (!dump_hex.empty() && !WriteFile(dump_hex, text->Text())) return kExitDumpFailed;
  return kExitOk;
}

}  // namespace zorvan::cli
