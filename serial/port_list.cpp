#include "serial/port_list.h"

#include <algorithm>
#include <locale>

#include "common/conversions.h"
#include "serial/bcport.h"

namespace zorvan {

namespace {

std::string Folded(std::string text, const std::locale& locale) {
  for (char& c : text) c = std::tolower(c, locale);
  return text;
}

}  // namespace

bool PortNameLess(const std::string& a, const std::string& b) {
  const std::locale locale;
  const std::string fa = Folded(a, locale);
  const std::string fb = Folded(b, locale);
  return std::use_facet<std::collate<char>>(locale).compare(
             fa.data(), fa.data() + fa.size(), fb.data(), fb.data() + fb.size()) < 0;
}

std::vector<SerialPortInfo> ListSerialPortDetails(const std::string& table, const std::string& stable_names) {
  std::vector<SerialPortInfo> ports = ReadPortTable(table);
  AddStableNames(ports, stable_names);
  std::stable_sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
    return PortNameLess(a.Name, b.Name);
  });
  return ports;
}

void ListSerialPorts(std::vector<std::string>& target, const std::string& table) {
  std::vector<std::string> names;
  for (SerialPortInfo& port : ListSerialPortDetails(table)) names.push_back(std::move(port.Name));
  target = std::move(names);
}

std::optional<unsigned> AdapterLatencyTimerMs(const std::string& port, const std::string& table) {
  std::vector<SerialPortInfo> ports;
  try {
    ports = ReadPortTable(table);
  } catch (const EComPort&) {
    return std::nullopt;
  }
  const std::string identity = PortIdentity(port);
  for (const SerialPortInfo& info : ports) {
    if (PortIdentity(info.Name) != identity) continue;
    const std::optional<int32_t> ms = TryStrToInt(info.LatencyTimerMs);
    if (ms && *ms >= 0) return static_cast<unsigned>(*ms);
  }
  return std::nullopt;
}

}  // namespace zorvan
