#pragma once
// Whether the simulated flash holds what a firmware image says it should.

#include <cstdint>
#include <string>
#include <vector>

#include "firmware/image_builder.h"

namespace zorvan::sim {

// Compares every byte of `flash` with the same address of the image (two hex digits
// per byte, "FF" where no record wrote), and looks for records beyond the flash.
// Returns an empty text when they agree, else a one-line account of the differences.
std::string CompareFlashWithImage(const std::vector<uint8_t>& flash, const ImageState& image);

}  // namespace zorvan::sim
