#pragma once
// The command line prints the system's Ukrainian texts in UTF-8; a console that expects
// another code page must be told, or the operator reads garbage.

namespace zorvan::cli {

void PrepareConsoleText();

}  // namespace zorvan::cli
