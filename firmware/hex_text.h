#pragma once
// The HEX text an image is built from, held as one string and read line by line, as
// the hidden firmware memo holds it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorvan {

// A text split into lines at LF, CR LF or CR. A final line break does not begin a further
// line, so an empty text has no lines and "\n" has one empty line. A leading UTF-8
// byte-order mark is not part of the text.
class HexText {
 public:
  HexText() = default;
  explicit HexText(std::string text) { Assign(std::move(text)); }

  void Assign(std::string text);
  void Clear() { Assign({}); }

  // Upper-cases the ASCII letters in place; the lines keep their places.
  void UpperCase();

  const std::string& Text() const { return text_; }
  size_t LineCount() const { return lines_.size(); }
  std::string_view Line(size_t index) const {
    return std::string_view(text_).substr(lines_[index].start, lines_[index].length);
  }

 private:
  struct Span {
    size_t start;
    size_t length;
  };
  std::string text_;
  std::vector<Span> lines_;
};

}  // namespace zorvan
