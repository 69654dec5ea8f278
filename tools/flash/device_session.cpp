#include "tools/flash/device_session.h"

#include <unistd.h>

#include <iostream>

#include "common/errors.h"
#include "protocol/loader_port.h"
#include "tools/flash/exit_codes.h"

namespace zorvan::cli {

namespace {

std::optional<int> RateIndex(const std::string& text) {
  for (size_t i = 0; i < BaudRateValues.size(); ++i) {
    if (text == std::to_string(BaudRateValues[i])) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::string RateList() {
  std::string list;
  for (uint32_t rate : BaudRateValues) list += (list.empty() ? "" : ", ") + std::to_string(rate);
  return list;
}

}  // namespace

std::optional<DeviceOptions> ParseDeviceOptions(const Arguments& args, const char* command, bool takes_hex) {
  DeviceOptions o;
  auto fail = [&](const std::string& problem) -> std::optional<DeviceOptions> {
    std::cerr << "zorvan-flash " << command << ": " << problem << " (see zorvan-flash --help)\n";
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool has_value = i + 1 < args.size();
    if (a == "--verbose") {
      o.verbose = true;
    } else if (a == "--port" && has_value) {
      o.port = args[++i];
    } else if (a == "--baud" && has_value) {
      const auto index = RateIndex(args[++i]);
      if (!index) return fail("the rate '" + args[i] + "' is not one of " + RateList());
      o.baud_rate_index = *index;
    } else if (a == "--hex" && has_value && takes_hex) {
      o.hex = args[++i];
    } else {
      return fail("unexpected argument '" + a + "'");
    }
  }
  if (o.port.empty()) return fail("--port PATH is required");
  return o;
}

DeviceSession::DeviceSession(const DeviceOptions& options)
    : surface(std::cout, state, isatty(STDOUT_FILENO) != 0, options.verbose), port_name_(options.port) {
  ApplyLoaderPortSettings(port);
  surface.SetPortChoice(options.port, options.baud_rate_index);
}

int DeviceSession::Run(const std::function<int(Flasher&)>& procedure) {
  try {
    return procedure(flasher);
  } catch (const EConvertError& e) {
    surface.FinishBar();
    std::cerr << ExceptionDisplayText(e.Message()) << "\n";
    return kExitBadDescription;
  } catch (const Exception& e) {
    // Nothing but the port raises inside the loader's procedures otherwise.
    surface.FinishBar();
    std::cerr << ExceptionDisplayText(e.Message()) << "\n";
    const std::string hint = PortAccessHint(port_name_);
    if (!hint.empty()) std::cerr << hint << "\n";
    return kExitPortError;
  }
}

}  // namespace zorvan::cli
