#include "cli/text_table.h"

#include <algorithm>

namespace zorvan::cli {

size_t TextColumns(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string PadTo(const std::string& text, size_t columns) {
  const size_t width = TextColumns(text);
  return width >= columns ? text : text + std::string(columns - width, ' ');
}

std::string FormatTable(const std::vector<std::vector<std::string>>& rows) {
  std::vector<size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], TextColumns(row[c]));
  }
  std::string table;
  for (const auto& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) line += (c ? "  " : "") + PadTo(row[c], widths[c]);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    table += line + "\n";
  }
  return table;
}

}  // namespace zorvan::cli
