#include "cli/console_text.h"

#include <windows.h>

namespace zorvan::cli {

// The console's own code page (866 or 1251 on a Ukrainian desktop) would show the UTF-8
// bytes of every message as stray characters, and without virtual terminal processing
// the progress line's control sequences would be printed as they are.
void PrepareConsoleText() {
  SetConsoleOutputCP(CP_UTF8);
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode)) SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

size_t ConsoleColumns() {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
  return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

}  // namespace zorvan::cli
