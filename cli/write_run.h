#pragma once
// The write button on one port, as the command line runs it alone or as one of a gang,
// and what the run ended with.

#include <chrono>
#include <string>

#include "firmware/image_builder.h"
#include "cli/device_session.h"
#include "cli/progress_surface.h"
#include "cli/progress_view.h"
#include "protocol/device_result.h"

namespace zorvan::cli {

struct WriteOutcome {
  std::chrono::system_clock::time_point began;
  double seconds = 0;
  int exit_status = 0;
  // How the device fared, as a production loop counts it.
  DeviceResult device = DeviceResult::Failed;
  // The first line of the system's own message that ended the run (a port error's
  // text included).
  std::string result;
  // What the device said of itself before the run, as identification found it; empty
  // when it was not identified.
  std::string description;
  std::string loader_version;
  // The final calibration label, "Автокалібровка: erase.write.commit".
  std::string calibration;
  // The version gate refused the device and --force (or --allow-downgrade) wrote it.
  bool forced = false;
  // How far the writing got.
  WritingProgress progress;
};

// Programs `image` into the device on `port` with the options' rate and verbosity,
// showing the run through `view`. `hex_file_name` is the chosen file's name (empty for
// the carried firmware), which the failure's status names.
WriteOutcome WriteOnPort(const std::string& port, const DeviceOptions& options, const ImageState& image,
                         const std::string& hex_file_name, ProgressView& view);
// The same on a session that outlives the run: the production loop's port.
WriteOutcome WriteOnPort(DeviceSession& session, const DeviceOptions& options, const ImageState& image,
                         const std::string& hex_file_name, ProgressView& view);

}  // namespace zorvan::cli
