#include "cli/console_text.h"

#include <sys/ioctl.h>
#include <unistd.h>

namespace zorvan::cli {

// A terminal on Linux takes UTF-8 and control sequences as they come.
void PrepareConsoleText() {}

size_t ConsoleColumns() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace zorvan::cli
