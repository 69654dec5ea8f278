#include "tools/flash/console_text.h"

namespace zorvan::cli {

// A terminal on Linux takes UTF-8 as it comes.
void PrepareConsoleText() {}

}  // namespace zorvan::cli
