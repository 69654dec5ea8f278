#pragma once
// Texts laid out for a terminal: widths in characters, and tables of aligned columns.

#include <cstddef>
#include <string>
#include <vector>

#include "common/display_text.h"

namespace zorvan::cli {

// The width of a text on a terminal: one column per UTF-8 character.
size_t TextColumns(const std::string& text);

// `text` with spaces added up to `columns`.
std::string PadTo(const std::string& text, size_t columns);

// The rows (the first one the heading) as lines of columns two spaces apart, each
// column as wide as its widest cell.
std::string FormatTable(const std::vector<std::vector<std::string>>& rows);

}  // namespace zorvan::cli
