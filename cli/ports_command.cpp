// zorvan-flash ports: the serial ports the system has registered, one path per line, with
// what tells one USB adapter from another: vendor:product, product name, serial number,
// the adapter's latency timer where the system shows it, and below each the stable names
// (/dev/serial/by-id/...) that lead to it.

#include <algorithm>
#include <iostream>

#include "common/errors.h"
#include "serial/ecomport.h"
#include "serial/port_list.h"
#include "cli/commands.h"
#include "cli/device_session.h"
#include "common/exit_codes.h"
#include "cli/system_texts.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

std::string DetailsOf(const SerialPortInfo& port) {
  std::string details;
  const auto add = [&details](const std::string& part) {
    if (part.empty()) return;
    if (!details.empty()) details += "  ";
    details += part;
  };
  if (!port.UsbVendorId.empty()) add(port.UsbVendorId + ":" + port.UsbProductId);
  add(port.Product);
  if (!port.SerialNumber.empty()) add(Say(Msg::PortSerialNumber, {port.SerialNumber}));
  if (!port.Driver.empty()) add("(" + port.Driver + ")");
  if (!port.LatencyTimerMs.empty()) add(Say(Msg::PortLatencyTimer, {port.LatencyTimerMs}));
  return details;
}

}  // namespace

int RunPorts(const Arguments& args) {
  for (const std::string& a : args) {
    // The list is the result.
    if (a != "-q" && a != "--quiet") return UsageError("ports", Say(Msg::UnexpectedArgument, {a}));
  }
  std::vector<SerialPortInfo> ports;
  try {
    ports = ListSerialPortDetails();
  } catch (const EComPort& e) {
    std::cerr << ExceptionDisplayText(CommandLineText(e.Message())) << "\n";
    return kExitPortError;
  }
  if (ports.empty()) {
    std::cerr << Say(Msg::NoPorts) << "\n";
    return kExitOk;
  }
  size_t width = 0;
  for (const SerialPortInfo& port : ports) width = std::max(width, port.Name.size());
  for (const SerialPortInfo& port : ports) {
    const std::string details = DetailsOf(port);
    std::cout << port.Name;
    if (!details.empty()) std::cout << std::string(width - port.Name.size() + 2, ' ') << details;
    std::cout << "\n";
    // The names that stay with the adapter when it is plugged in elsewhere; any of them
    // is taken by --port.
    for (const std::string& name : port.StableNames) std::cout << std::string(width + 2, ' ') << name << "\n";
  }
  return kExitOk;
}

}  // namespace zorvan::cli
