#include "tools/flash/console_text.h"

#include <windows.h>

namespace zorvan::cli {

// The console's own code page (866 or 1251 on a Ukrainian desktop) would show the UTF-8
// bytes of every message as stray characters.
void PrepareConsoleText() { SetConsoleOutputCP(CP_UTF8); }

}  // namespace zorvan::cli
