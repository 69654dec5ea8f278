// zorvan-flash write: the write button. Programs the carried firmware, or the image of
// a HEX file prepared as `check` prepares it, into the device on the port, or into the
// devices on several ports at once.

#include <unistd.h>

#include <iostream>
#include <map>

#include "common/errors.h"
#include "firmware/firmware_source.h"
#include "tools/flash/console_surface.h"
#include "tools/flash/device_session.h"
#include "tools/flash/exit_codes.h"
#include "tools/flash/gang_write.h"
#include "tools/flash/interrupt.h"
#include "tools/flash/write_run.h"

namespace zorvan::cli {

namespace {

// Two runs on one device would garble each other's frames; a stable by-id name and the
// device it leads to are the same port.
bool PortsAreDistinct(const std::vector<std::string>& ports) {
  std::map<std::string, std::string> named;
  for (const std::string& port : ports) {
    const std::string identity = PortIdentity(port);
    const auto [earlier, fresh] = named.emplace(identity, port);
    if (fresh) continue;
    std::cerr << "zorvan-flash write: --port " << earlier->second << " and --port " << port
              << " are the same port (" << identity << "); nothing was started\n";
    return false;
  }
  return true;
}

}  // namespace

int RunWrite(const Arguments& args) {
  const auto options = ParseDeviceOptions(args, "write", true, true);
  if (!options) return kExitUsage;
  if (!PortsAreDistinct(options->ports)) return kExitUsage;
  CatchInterrupt();
  ImageState image;
  try {
    ConsoleSurface preparation(std::cout);
    HexText text = LoadHexText(options->hex);
    if (!PrepareImage(preparation, text, image)) return kExitHexError;
  } catch (const Exception& e) {
    std::cerr << ExceptionDisplayText(e.Message()) << "\n";
    return kExitHexError;
  }
  const std::string hex_file_name = options->hex.empty() ? std::string() : FileNameOnly(options->hex);
  if (options->ports.size() > 1) return RunGang(*options, image, hex_file_name);
  ConsoleProgressView view(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0);
  return WriteOnPort(options->ports.front(), *options, image, hex_file_name, view).exit_status;
}

}  // namespace zorvan::cli
