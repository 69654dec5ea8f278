#include "cli/device_session.h"

#include <unistd.h>

#include <iostream>

#include "common/errors.h"
#include "protocol/loader_port.h"
#include "common/exit_codes.h"
#include "cli/interrupt.h"
#include "cli/port_errors.h"
#include "cli/system_texts.h"
#include "cli/texts.h"

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

int UsageError(const char* command, const std::string& problem) {
  std::cerr << Say(Msg::UsageProblem, {command, problem}) << "\n";
  return kExitUsage;
}

std::optional<DeviceOptions> ParseDeviceOptions(const Arguments& args, const char* command, bool write) {
  DeviceOptions o;
  auto fail = [&](const std::string& problem) -> std::optional<DeviceOptions> {
    UsageError(command, problem);
    return std::nullopt;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool takes_value = a == "--port" || a == "--baud" || (write && (a == "--hex" || a == "--record"));
    if (takes_value && i + 1 == args.size()) return fail(Say(Msg::NeedsValue, {a}));
    if (a == "--verbose") {
      o.verbose = true;
    } else if (a == "-q" || a == "--quiet") {
      o.quiet = true;
    } else if (a == "--port") {
      if (!o.ports.empty() && !write) return fail(Say(Msg::TakesOnePort, {command}));
      o.ports.push_back(args[++i]);
    } else if (a == "--baud") {
      const auto index = RateIndex(args[++i]);
      if (!index) return fail(Say(Msg::RateNotKnown, {args[i], RateList()}));
      o.baud_rate_index = *index;
    } else if (a == "--hex" && write) {
      o.hex = args[++i];
    } else if (a == "--record" && write) {
      o.record = args[++i];
    } else if (a == "--loop" && write) {
      o.loop = true;
    } else if (a == "--force" && write) {
      ++o.force;
    } else if (a == "--allow-downgrade" && write) {
      o.allow_downgrade = true;
    } else {
      return fail(Say(Msg::UnexpectedArgument, {a}));
    }
  }
  if (o.ports.empty()) return fail(Say(Msg::PortRequired));
  if (o.quiet && o.verbose) return fail(Say(Msg::QuietWithVerbose));
  if (o.loop && (o.force > 0 || o.allow_downgrade)) {
    // The loop takes a device that holds this firmware for the one it has just
    // programmed; forcing is for one device at a time.
    return fail(Say(Msg::LoopWithForce));
  }
  return o;
}

Verbosity VerbosityOf(const DeviceOptions& options) {
  return options.quiet ? Verbosity::Quiet : options.verbose ? Verbosity::Verbose : Verbosity::Normal;
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
    surface.ShowError(e.Message(), ExceptionDisplayText(CommandLineText(e.Message())));
    return kExitBadDescription;
  } catch (const Exception& e) {
    // Nothing but the port raises inside the loader's procedures otherwise.
    std::string text = PortErrorText(port_name_, e.Message());
    const WritingProgress progress = surface.Progress();
    if (progress.erasing_begun) text += "\n" + PartlyWrittenText(progress);
    surface.ShowError(e.Message(), text);
    return kExitPortError;
  }
}

int RunOnConsole(const DeviceOptions& options, const std::function<int(Flasher&)>& procedure) {
  DeviceSession session(options.ports.front(), options.baud_rate_index);
  ConsoleProgressView view(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0);
  ProgressSurface surface(view, session.state, VerbosityOf(options));
  return session.Run(surface, procedure);
}

}  // namespace zorvan::cli
