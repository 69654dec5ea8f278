#pragma once
// The console the command line writes to.

#include <cstddef>

namespace zorvan::cli {

// The command line prints the system's Ukrainian texts in UTF-8, and redraws lines in
// place with the terminal's control sequences; a console that expects another code page,
// or shows control sequences as they are, must be told, or the operator reads garbage.
void PrepareConsoleText();

// The width in characters of the terminal the standard output goes to; 0 when it is
// no terminal or does not say.
size_t ConsoleColumns();

}  // namespace zorvan::cli
