#include "firmware/hex_text.h"

#include <cstring>
#include <string_view>

namespace zorvan {

void HexText::Assign(std::string text) {
  // Editors on Windows often begin a UTF-8 file with a byte-order mark; left in place it
  // would hide the first record's colon, and that record would be passed over unseen.
  static constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kUtf8ByteOrderMark)) text.erase(0, kUtf8ByteOrderMark.size());
  text_ = std::move(text);
  lines_.clear();
  const char* const begin = text_.data();
  const char* const end = begin + text_.size();
  const char* start = begin;
  while (start < end) {
    // Lines mostly end in LF or CR LF; a CR alone also ends one.
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', end - start));
    const char* stop = lf ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', stop - start));
    if (cr && cr + 1 != lf) {
      lines_.push_back({static_cast<size_t>(start - begin), static_cast<size_t>(cr - start)});
      start = cr + 1;
    } else if (lf) {
      const char* line_end = cr ? cr : lf;
      lines_.push_back({static_cast<size_t>(start - begin), static_cast<size_t>(line_end - start)});
      start = lf + 1;
    } else {
      lines_.push_back({static_cast<size_t>(start - begin), static_cast<size_t>(end - start)});
      start = end;
    }
  }
}

void HexText::UpperCase() {
  for (char& c : text_) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

}  // namespace zorvan
