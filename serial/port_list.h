#pragma once
// ListSerialPorts: the serial ports the system has registered, sorted, as names that
// TBComPort's Port takes. Listing never opens a port in a way that changes its settings.

#include <optional>
#include <string>
#include <vector>

namespace zorvan {

// One registered port and what the system knows of it; empty where it knows nothing.
struct SerialPortInfo {
  std::string Name;          // what Port takes: a device path such as /dev/ttyUSB0
  std::string Driver;        // the driver of the hardware behind the port
  std::string UsbVendorId;   // four hex digits, for a USB device
  std::string UsbProductId;  // four hex digits, for a USB device
  std::string SerialNumber;
  std::string Manufacturer;
  std::string Product;
  // Names of the same device that outlive re-plugging, sorted: on Linux the links udev
  // makes in /dev/serial/by-id, which carry the adapter's make and serial number.
  std::vector<std::string> StableNames;
  // A USB adapter's latency timer in milliseconds, where the system shows it: how long
  // the adapter may hold received bytes before it passes them on.
  std::string LatencyTimerMs;
};

// Where the system keeps its table of serial devices: on Linux the sysfs class folder of
// terminals. Tests point the procedures below at tables of their own.
extern const char* const kSystemPortTable;
// Where the system keeps the stable names of its ports: on Linux /dev/serial/by-id; on
// Windows nothing (a COM name is already stable).
extern const char* const kStablePortNames;

// Replaces target's items by the sorted port names. A missing or unreadable table raises
// EComPort with "Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!" and leaves
// target as it was; an empty one gives an empty list.
void ListSerialPorts(std::vector<std::string>& target, const std::string& table = kSystemPortTable);

// The same ports, in the same order, with their details and stable names.
std::vector<SerialPortInfo> ListSerialPortDetails(const std::string& table = kSystemPortTable,
                                                  const std::string& stable_names = kStablePortNames);

// The latency timer of the USB adapter behind `port` (by any of its names) where the
// system reports it, in milliseconds; empty for a port the table does not list or whose
// timer it does not show, and when the table cannot be read.
std::optional<unsigned> AdapterLatencyTimerMs(const std::string& port, const std::string& table = kSystemPortTable);

// The list's order: the locale's case-insensitive comparison, so COM10 comes before COM2.
bool PortNameLess(const std::string& a, const std::string& b);

// The table's entries in the system's own order; each platform's file provides it, and it
// raises as ListSerialPorts does.
std::vector<SerialPortInfo> ReadPortTable(const std::string& table);
// Fills each port's StableNames from the folder `stable_names`; each platform's file
// provides it. A missing folder (no USB adapter plugged in) adds none.
void AddStableNames(std::vector<SerialPortInfo>& ports, const std::string& stable_names);

}  // namespace zorvan
