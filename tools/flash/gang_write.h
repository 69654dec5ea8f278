#pragma once
// zorvan-flash write with several ports: every device gets the write button's whole
// procedure on a thread of its own, all at once, from one image prepared beforehand.

#include <string>

#include "firmware/image_builder.h"
#include "tools/flash/device_session.h"

namespace zorvan::cli {

// Runs the options' ports as a gang, then prints the summary table. Returns 0 when
// every device was programmed, else kExitGangIncomplete.
int RunGang(const DeviceOptions& options, const ImageState& image, const std::string& hex_file_name);

}  // namespace zorvan::cli
