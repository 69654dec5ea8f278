#include "tools/flash/device_session.h"

#include <unistd.h>

#include <iostream>

#include "common/errors.h"
#include "protocol/loader_port.h"
#include "tools/flash/interrupt.h"
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

std::optional<DeviceOptions> ParseDeviceOptions(const Arguments& args, const char* command, bool write) {
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
      if (!o.ports.empty() && !write) return fail(std::string(command) + " takes one --port");
      o.ports.push_back(args[++i]);
    } else if (a == "--baud" && has_value) {
      const auto index = RateIndex(args[++i]);
      if (!index) return fail("the rate '" + args[i] + "' is not one of " + RateList());
      o.baud_rate_index = *index;
    } else if (a == "--hex" && has_value && write) {
      o.hex = args[++i];
    } else if (a == "--record" && has_value && write) {
      o.record = args[++i];
    } else if (a == "--loop" && write) {
      o.loop = true;
    } else if (a == "--force" && write) {
      ++o.force;
    } else if (a == "--allow-downgrade" && write) {
      o.allow_downgrade = true;
    } else {
      return fail("unexpected argument '" + a + "'");
    }
  }
  if (o.ports.empty()) return fail("--port PATH is required");
  if (o.loop && (o.force > 0 || o.allow_downgrade)) {
    // The loop takes a device that holds this firmware for the one it has just
    // programmed; forcing is for one device at a time.
    return fail("--loop does not go with --force or --allow-downgrade");
  }
  return o;
}

DeviceSession::DeviceSession(std::string port_name, int baud_rate_index)
    : port_name_(std::move(port_name)), baud_rate_index_(baud_rate_index) {
  ApplyLoaderPortSettings(port_);
  port_.SetGuiThread(gui_);
}

Flasher DeviceSession::FlasherOn(ConsoleSurface& surface, const ImageState& image) {
  surface.SetPortChoice(port_name_, baud_rate_index_);
  surface.SetGuiThread(gui_);
  return Flasher{state, surface, port_, image};
}

int DeviceSession::Run(ProgressSurface& surface, const ImageState& image,
                       const std::function<int(Flasher&)>& procedure) {
  Flasher flasher = FlasherOn(surface, image);
  try {
    return procedure(flasher);
  } catch (const RunInterrupted&) {
    return kExitStopped;
  } catch (const EConvertError& e) {
    surface.ShowError(ExceptionDisplayText(e.Message()));
    return kExitBadDescription;
  } catch (const Exception& e) {
    // Nothing but the port raises inside the loader's procedures otherwise.
    const std::string hint = PortAccessHint(port_name_);
    surface.ShowError(ExceptionDisplayText(e.Message()) + (hint.empty() ? "" : "\n" + hint));
    return kExitPortError;
  }
}

int RunOnConsole(const DeviceOptions& options, const std::function<int(Flasher&)>& procedure) {
  DeviceSession session(options.ports.front(), options.baud_rate_index);
  ConsoleProgressView view(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0);
  ProgressSurface surface(view, session.state, options.verbose);
  return session.Run(surface, procedure);
}

}  // namespace zorvan::cli
