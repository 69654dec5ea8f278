#pragma once
// zorvan-flash write with several ports: every device gets the write button's whole
// procedure on a thread of its own, all at once, from one image prepared beforehand.

#include <string>

#include "firmware/image_builder.h"
#include "cli/device_session.h"
#include "cli/write_record.h"

namespace zorvan::cli {

// Runs the options' ports as a gang, recording each run as it ends when `recorder` is
// given, then prints the summary table. Returns 0 when every device was programmed
// (and recorded), else kExitGangIncomplete (or kExitRecordFailed when only recording
// failed).
int RunGang(const DeviceOptions& options, const ImageState& image, const std::string& hex_file_name,
            RunRecorder* recorder);

}  // namespace zorvan::cli
