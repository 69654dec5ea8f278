// The Linux port table: the terminals in sysfs that have a device and a driver behind
// them. Virtual terminals and pseudo-terminals live under devices/virtual and have none.

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>

#include "serial/ecomport.h"
#include "serial/port_list.h"

namespace zorvan {

const char* const kSystemPortTable = "/sys/class/tty";
const char* const kStablePortNames = "/dev/serial/by-id";

namespace {

namespace fs = std::filesystem;

std::string ReadAttribute(const fs::path& file) {
  std::ifstream in(file);
  std::string value;
  std::getline(in, value);
  while (!value.empty() && std::isspace(static_cast<unsigned char>(value.back()))) value.pop_back();
  return value;
}

// The last part of where a link points: a driver's or a subsystem's name.
std::string LinkName(const fs::path& link) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(link, ec);
  return ec ? std::string() : target.filename().string();
}

// The legacy 8250 driver registers its ttyS ports whether or not a UART answers there;
// the empty ones report the UART type 0 (PORT_UNKNOWN). On recent kernels their driver is
// the generic serial-base "port" driver, as it is for real UARTs, so the type is what
// tells them apart. Kernels without the type attribute are asked with TIOCGSERIAL, on a
// descriptor that changes no setting.
bool IsEmptyUartSlot(const fs::path& entry, const std::string& name) {
  std::error_code ec;
  if (fs::exists(entry / "type", ec)) return ReadAttribute(entry / "type") == "0";
  if (name.rfind("ttyS", 0) != 0) return false;
  const int fd = open(("/dev/" + name).c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct info{};
  const bool empty = ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
  close(fd);
  return empty;
}

// The USB device a port belongs to lies a level or two above the port's device (the
// interface, and for USB-serial adapters the adapter's port).
void AddUsbDetails(const fs::path& device, SerialPortInfo& info) {
  std::error_code ec;
  fs::path dir = device;
  for (int level = 0; level < 4 && dir.has_relative_path(); ++level, dir = dir.parent_path()) {
    if (!fs::exists(dir / "idVendor", ec)) continue;
    info.UsbVendorId = ReadAttribute(dir / "idVendor");
    info.UsbProductId = ReadAttribute(dir / "idProduct");
    info.SerialNumber = ReadAttribute(dir / "serial");
    info.Manufacturer = ReadAttribute(dir / "manufacturer");
    info.Product = ReadAttribute(dir / "product");
    return;
  }
}

std::optional<SerialPortInfo> PortOf(const fs::path& entry) {
  std::error_code ec;
  const fs::path real = fs::canonical(entry, ec);
  if (ec || real.string().find("/devices/virtual/") != std::string::npos) return std::nullopt;
  if (!fs::exists(entry / "device" / "driver", ec)) return std::nullopt;
  const std::string name = entry.filename().string();
  if (IsEmptyUartSlot(entry, name)) return std::nullopt;

  SerialPortInfo info;
  // sysfs writes a slash in a device name as "!".
  info.Name = "/dev/" + name;
  std::replace(info.Name.begin(), info.Name.end(), '!', '/');
  // Kernels with serial-base put its "port" and "ctrl" devices between the terminal and
  // the hardware; the driver worth naming is the hardware's.
  fs::path device = fs::canonical(entry / "device", ec);
  if (ec) return std::nullopt;
  while (LinkName(device / "subsystem") == "serial-base" && device.has_relative_path()) {
    device = device.parent_path();
  }
  info.Driver = LinkName(device / "driver");
  AddUsbDetails(device, info);
  // USB-serial drivers that have a latency timer (ftdi_sio) show it on the port's device.
  info.LatencyTimerMs = ReadAttribute(entry / "device" / "latency_timer");
  return info;
}

}  // namespace

std::vector<SerialPortInfo> ReadPortTable(const std::string& table) {
  std::error_code ec;
  fs::directory_iterator entries(table, ec);
  if (ec) throw EComPort(com_text::kNoPortTable);
  std::vector<SerialPortInfo> ports;
  for (; entries != fs::directory_iterator(); entries.increment(ec)) {
    if (std::optional<SerialPortInfo> port = PortOf(entries->path())) ports.push_back(*port);
  }
  if (ec) throw EComPort(com_text::kNoPortTable);
  return ports;
}

void AddStableNames(std::vector<SerialPortInfo>& ports, const std::string& stable_names) {
  std::error_code ec;
  fs::directory_iterator links(stable_names, ec);
  if (ec) return;
  for (; links != fs::directory_iterator(); links.increment(ec)) {
    std::error_code link_ec;
    const fs::path target = fs::read_symlink(links->path(), link_ec);
    if (link_ec) continue;
    // udev's links are relative to their folder ("../../ttyUSB0").
    const fs::path device = fs::weakly_canonical(links->path().parent_path() / target, link_ec);
    if (link_ec) continue;
    for (SerialPortInfo& port : ports) {
      std::error_code port_ec;
      if (fs::weakly_canonical(port.Name, port_ec) == device && !port_ec) {
        port.StableNames.push_back(links->path().string());
      }
    }
  }
  for (SerialPortInfo& port : ports) std::sort(port.StableNames.begin(), port.StableNames.end());
}

}  // namespace zorvan
