// The Windows port table: the values of the registry key HARDWARE\DEVICEMAP\SERIALCOMM,
// which every serial driver fills with its ports as they come and go. Each value's data
// is a port name as Port takes it (COM3); its name is the driver's device name
// (\Device\Serial0, \Device\VCP0, \Device\Silabser0), which tells adapters apart.
// FTDI's driver keeps each adapter's settings, its latency timer among them, under the
// adapter's device instance.

#include <windows.h>

#include <cstring>
#include <map>

#include "serial/ecomport.h"
#include "serial/port_list.h"

namespace zorvan {

const char* const kSystemPortTable = "HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM";
const char* const kStablePortNames = "";

namespace {

// Keeps a registry key open for the length of a listing, whatever happens in it.
class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& path) {
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS) {
      throw EComPort(com_text::kNoPortTable);
    }
  }
  ~OpenKey() { RegCloseKey(key_); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// A table is named as the registry editor names keys: a root key, a backslash, the path.
std::pair<HKEY, std::string> SplitKeyName(const std::string& table) {
  static const std::pair<const char*, HKEY> kRoots[] = {{"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                                                        {"HKEY_CURRENT_USER", HKEY_CURRENT_USER}};
  const size_t slash = table.find('\\');
  const std::string root = table.substr(0, slash);
  for (const auto& [name, key] : kRoots) {
    if (root == name)
      return {key, slash == std::string::npos ? std::string() : table.substr(slash + 1)};
  }
  throw EComPort(com_text::kNoPortTable);
}

// Where FTDI's driver keeps its adapters: Enum\FTDIBUS\VID_0403+PID_6001+A50285BIA\0000
// for one of them, whose "Device Parameters" hold the port name the adapter was given
// (PortName) and its latency timer in milliseconds (LatencyTimer).
constexpr char kFtdiDevices[] = "SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS";

std::vector<std::string> SubkeyNames(HKEY key) {
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    char name[256] = {};
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

// The latency timer of every FTDI adapter the driver has given a port name, by that name.
// An adapter whose settings cannot be read is left out: the list shows what it can.
std::map<std::string, std::string> FtdiLatencyTimers() {
  std::map<std::string, std::string> timers;
  HKEY bus = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFtdiDevices, 0, KEY_READ, &bus) != ERROR_SUCCESS) return timers;
  for (const std::string& device : SubkeyNames(bus)) {
    HKEY instances = nullptr;
    if (RegOpenKeyExA(bus, device.c_str(), 0, KEY_READ, &instances) != ERROR_SUCCESS) continue;
    for (const std::string& instance : SubkeyNames(instances)) {
      const std::string parameters = instance + "\\Device Parameters";
      char port[256] = {};
      DWORD port_size = sizeof port;
      DWORD latency = 0;
      DWORD latency_size = sizeof latency;
      if (RegGetValueA(instances, parameters.c_str(), "PortName", RRF_RT_REG_SZ, nullptr, port, &port_size) ==
              ERROR_SUCCESS &&
          RegGetValueA(instances, parameters.c_str(), "LatencyTimer", RRF_RT_REG_DWORD, nullptr, &latency,
                       &latency_size) == ERROR_SUCCESS) {
        timers[port] = std::to_string(latency);
      }
    }
    RegCloseKey(instances);
  }
  RegCloseKey(bus);
  return timers;
}

}  // namespace

std::vector<SerialPortInfo> ReadPortTable(const std::string& table) {
  const auto [root, path] = SplitKeyName(table);
  const OpenKey key(root, path);
  std::vector<SerialPortInfo> ports;
  for (DWORD index = 0;; ++index) {
    // The buffers are renewed for every value: a longer name or port name than they hold
    // is a table this program cannot read, and is reported as such.
    char name[256] = {};
    BYTE data[256] = {};
    DWORD name_length = sizeof name;
    DWORD data_length = sizeof data;
    DWORD type = 0;
    const LONG result =
        RegEnumValueA(key.get(), index, name, &name_length, nullptr, &type, data, &data_length);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) throw EComPort(com_text::kNoPortTable);
    // The data is the port name and, usually, its terminating zero.
    const char* text = reinterpret_cast<const char*>(data);
    SerialPortInfo port;
    port.Name.assign(text, strnlen(text, data_length));
    port.Driver.assign(name, name_length);
    ports.push_back(std::move(port));
  }
  const std::map<std::string, std::string> latency_timers = FtdiLatencyTimers();
  for (SerialPortInfo& port : ports) {
    if (const auto timer = latency_timers.find(port.Name); timer != latency_timers.end()) {
      port.LatencyTimerMs = timer->second;
    }
  }
  return ports;
}

void AddStableNames(std::vector<SerialPortInfo>&, const std::string&) {
  // A COM name stays with its adapter across re-plugging: Windows keeps it by the
  // adapter's serial number.
}

}  // namespace zorvan
