#pragma once
// zorvan-flash write --loop: each port runs the production cycle on a thread of its own,
// device after device, until Ctrl+C; the devices are programmed from one image prepared
// beforehand.

#include <string>

#include "firmware/image_builder.h"
#include "protocol/production_cycle.h"
#include "cli/device_session.h"
#include "cli/write_record.h"

namespace zorvan::cli {

// Runs the loop on every port of the options, recording each device's run when
// `recorder` is given. Returns 0 when no device failed, kExitLoopFailures when one did,
// kExitRecordFailed when only a record could not be written (which ends the loop).
int RunLoop(const DeviceOptions& options, const ImageState& image, const std::string& hex_file_name,
            RunRecorder* recorder);

// "passed 3  failed 1  refused 0  0:46 per device"; the time once a device was counted.
std::string TallyLine(const CycleTally& tally);

}  // namespace zorvan::cli
