#pragma once
// The operator surface of the command line: a surface without a window whose messages go
// to the terminal in the screen's language.

#include "protocol/headless_surface.h"

namespace zorvan::cli {

class ConsoleSurface : public HeadlessSurface {
 public:
  explicit ConsoleSurface(std::ostream& messages) : HeadlessSurface(messages) {}

  void ShowMessage(const std::string& text) override;

 protected:
  // For surfaces that show messages their own way.
  ConsoleSurface() = default;
};

}  // namespace zorvan::cli
