// zorvan-flash check: prepares an image as the window does at start-up or on opening a
// file, and tells what the records wrote.

#include <fstream>
#include <iostream>

#include "common/conversions.h"
#include "common/errors.h"
#include "firmware/image_builder.h"
#include "tools/flash/commands.h"
#include "tools/flash/console_surface.h"
#include "tools/flash/exit_codes.h"
#include "firmware/firmware_source.h"

namespace zorvan::cli {

namespace {

int HexDigitValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

void WriteImageBytes(const std::string& image_text, const std::string& path) {
  std::string bytes(image_text.size() / 2, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(HexDigitValue(image_text[2 * i]) * 16 +
                                 HexDigitValue(image_text[2 * i + 1]));
  }
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw Exception("Cannot create file \"" + path + "\"");
}

void WriteText(const std::string& text, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw Exception("Cannot create file \"" + path + "\"");
}

}  // namespace

int RunCheck(const Arguments& args) {
  std::string file, dump_image, dump_hex;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--dump-image" || a == "--dump-hex") && i + 1 < args.size()) {
      (a == "--dump-image" ? dump_image : dump_hex) = args[++i];
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      std::cerr << "zorvan-flash check: unexpected argument '" << a << "'\n";
      return kExitUsage;
    }
  }
  ConsoleSurface surface(std::cerr);
  try {
    HexText text = LoadHexText(file);
    ImageState image;
    if (!PrepareImage(surface, text, image)) return kExitHexError;
    size_t total = 0;
    for (const ByteRange& r : image.WrittenRanges) {
      std::cout << "0x" << IntToHex(r.First, 6) << "-0x" << IntToHex(r.End - 1, 6) << "  "
                << (r.End - r.First) << " bytes\n";
      total += r.End - r.First;
    }
    std::cout << "Image ready: " << total << " bytes in " << image.WrittenRanges.size()
              << (image.WrittenRanges.size() == 1 ? " range" : " ranges") << " from "
              << (file.empty() ? std::string("the carried firmware") : file) << "\n";
    if (!dump_image.empty()) WriteImageBytes(image.ImageText, dump_image);
    if (!dump_hex.empty()) WriteText(text.Text(), dump_hex);
    return kExitOk;
  } catch (const Exception& e) {
    std::cerr << ExceptionDisplayText(e.Message()) << "\n";
    return kExitHexError;
  }
}

}  // namespace zorvan::cli
