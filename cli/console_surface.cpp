#include "cli/console_surface.h"

#include <ostream>

#include "cli/system_texts.h"

namespace zorvan::cli {

void ConsoleSurface::ShowMessage(const std::string& text) {
  *messages_ << CommandLineText(TerminalLines(text)) << std::endl;
}

}  // namespace zorvan::cli
