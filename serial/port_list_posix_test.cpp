// The Linux port table against fake sysfs trees laid out as the kernel lays them out.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "serial/ecomport.h"
#include "serial/port_list.h"

namespace zorvan {
namespace {

namespace fs = std::filesystem;

// A sysfs tree in a temporary folder: devices/, bus/ and class/tty/.
class FakeSysfs {
 public:
  FakeSysfs() {
    root_ = fs::temp_directory_path() /
            ("zorvan-sysfs-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    fs::remove_all(root_);
    fs::create_directories(ClassTty());
  }
  ~FakeSysfs() { fs::remove_all(root_); }

  std::string ClassTty() const { return (root_ / "class" / "tty").string(); }

  // A device folder under devices/, with its subsystem and, unless empty, its driver.
  fs::path Device(const std::string& path, const std::string& subsystem, const std::string& driver) {
    const fs::path dir = root_ / "devices" / path;
    fs::create_directories(dir);
    if (!subsystem.empty()) Link(dir / "subsystem", root_ / "bus" / subsystem);
    if (!driver.empty()) Link(dir / "driver", root_ / "bus" / subsystem / "drivers" / driver);
    return dir;
  }

  // A terminal below `device` (none: a virtual one under devices/virtual/tty), entered in
  // class/tty; `type` is its UART type attribute, when it has one.
  fs::path Terminal(const std::string& name, const fs::path& device, const std::string& type = "") {
    const fs::path dir = device.empty() ? root_ / "devices" / "virtual" / "tty" / name
                                        : device / "tty" / name;
    fs::create_directories(dir);
    if (!device.empty()) Link(dir / "device", device);
    if (!type.empty()) Attribute(dir, "type", type);
    Link(fs::path(ClassTty()) / name, dir);
    return dir;
  }

  static void Attribute(const fs::path& dir, const std::string& name, const std::string& value) {
    std::ofstream(dir / name) << value << "\n";
  }

  // The USB device with its descriptor strings, as the kernel shows them.
  fs::path UsbDevice(const std::string& path, const std::string& vendor, const std::string& product_id,
                     const std::string& serial, const std::string& manufacturer,
                     const std::string& product) {
    const fs::path dir = Device(path, "usb", "usb");
    Attribute(dir, "idVendor", vendor);
    Attribute(dir, "idProduct", product_id);
    if (!serial.empty()) Attribute(dir, "serial", serial);
    Attribute(dir, "manufacturer", manufacturer);
    Attribute(dir, "product", product);
    return dir;
  }

  // The machine this test describes: an FTDI adapter, a CDC-ACM board, one real UART on
  // a kernel with serial-base, one empty 8250 slot, an unbound port and virtual terminals.
  void LayOutABench() {
    const std::string hub = "pci0000:00/0000:00:14.0/usb1/";
    UsbDevice(hub + "1-2", "0403", "6001", "A50285BI", "FTDI", "FT232R USB UART");
    Device(hub + "1-2/1-2:1.0", "usb", "ftdi_sio");
    const fs::path ftdi_port = Device(hub + "1-2/1-2:1.0/ttyUSB0", "usb-serial", "ftdi_sio");
    Attribute(ftdi_port, "latency_timer", "16");
    Terminal("ttyUSB0", ftdi_port);
    UsbDevice(hub + "1-3", "2e8a", "000a", "E6605838833F6B2E", "Raspberry Pi", "Pico");
    Terminal("ttyACM0", Device(hub + "1-3/1-3:1.0", "usb", "cdc_acm"));

    Device("pnp0/00:00", "pnp", "serial");
    Device("pnp0/00:00/00:00:0", "serial-base", "ctrl");
    Terminal("ttyS0", Device("pnp0/00:00/00:00:0/00:00:0.0", "serial-base", "port"), "4");
    Device("platform/serial8250", "platform", "serial8250");
    Device("platform/serial8250/serial8250:0", "serial-base", "ctrl");
    Terminal("ttyS1", Device("platform/serial8250/serial8250:0/serial8250:0.1", "serial-base", "port"), "0");
    Terminal("ttyS2", Device("platform/serial8250/serial8250:0/serial8250:0.2", "serial-base", ""), "4");

    Terminal("tty0", {});
    Terminal("ptmx", {});
    // A virtual terminal that even shows a device is still no serial port.
    const fs::path virtual_device = Device("virtual/misc/zorvan", "misc", "misc");
    Link(fs::path(ClassTty()) / "ttyV0", root_ / "devices/virtual/tty/ttyV0");
    fs::create_directories(root_ / "devices/virtual/tty/ttyV0");
    Link(root_ / "devices/virtual/tty/ttyV0/device", virtual_device);
  }

 private:
  static void Link(const fs::path& link, const fs::path& target) {
    fs::create_directories(target);
    fs::create_directory_symlink(fs::relative(target, link.parent_path()), link);
  }

  static inline int counter_ = 0;
  fs::path root_;
};

std::vector<std::string> Names(const std::vector<SerialPortInfo>& ports) {
  std::vector<std::string> names;
  for (const SerialPortInfo& p : ports) names.push_back(p.Name);
  return names;
}

TEST(ListSerialPorts, ListsTheBoundSerialDevicesSortedAndLeavesOutTheRest) {
  FakeSysfs sysfs;
  sysfs.LayOutABench();
  std::vector<std::string> target = {"stale"};
  ListSerialPorts(target, sysfs.ClassTty());
  const std::vector<std::string> expected = {"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"};
  EXPECT_EQ(target, expected);
  ListSerialPorts(target, sysfs.ClassTty());
  EXPECT_EQ(target, expected);  // replaced, not doubled
}

TEST(ListSerialPorts, DetailsNameTheHardwaresDriverAndTheUsbDevice) {
  FakeSysfs sysfs;
  sysfs.LayOutABench();
  const std::vector<SerialPortInfo> ports = ListSerialPortDetails(sysfs.ClassTty());
  ASSERT_EQ(Names(ports), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"}));

  const SerialPortInfo& acm = ports[0];
  EXPECT_EQ(acm.Driver, "cdc_acm");
  EXPECT_EQ(acm.UsbVendorId, "2e8a");
  EXPECT_EQ(acm.UsbProductId, "000a");
  EXPECT_EQ(acm.SerialNumber, "E6605838833F6B2E");
  EXPECT_EQ(acm.Manufacturer, "Raspberry Pi");
  EXPECT_EQ(acm.Product, "Pico");
  EXPECT_EQ(acm.LatencyTimerMs, "");  // CDC-ACM has no latency timer

  const SerialPortInfo& uart = ports[1];
  EXPECT_EQ(uart.Driver, "serial");  // the PnP driver, not serial-base's "port"
  EXPECT_EQ(uart.UsbVendorId, "");
  EXPECT_EQ(uart.Product, "");

  const SerialPortInfo& ftdi = ports[2];
  EXPECT_EQ(ftdi.Driver, "ftdi_sio");
  EXPECT_EQ(ftdi.UsbVendorId, "0403");
  EXPECT_EQ(ftdi.UsbProductId, "6001");
  EXPECT_EQ(ftdi.SerialNumber, "A50285BI");
  EXPECT_EQ(ftdi.Product, "FT232R USB UART");
  EXPECT_EQ(ftdi.LatencyTimerMs, "16");

  // What the loader's exchanges allow for the adapter behind the port the operator chose.
  EXPECT_EQ(AdapterLatencyTimerMs("ttyUSB0", sysfs.ClassTty()), 16u);
  EXPECT_EQ(AdapterLatencyTimerMs("/dev/ttyACM0", sysfs.ClassTty()), std::nullopt);
  EXPECT_EQ(AdapterLatencyTimerMs("/dev/ttyUSB0", "/nonexistent/zorvan/class/tty"), std::nullopt);
}

TEST(ListSerialPorts, GivesEachPortTheStableNamesThatLeadToIt) {
  FakeSysfs sysfs;
  sysfs.LayOutABench();
  const fs::path by_id = fs::path(sysfs.ClassTty()).parent_path() / "by-id";
  fs::create_directories(by_id);
  fs::create_symlink("/dev/ttyUSB0", by_id / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  fs::create_symlink("/dev/ttyACM0", by_id / "usb-Raspberry_Pi_Pico_E6605838833F6B2E-if00");
  fs::create_symlink("/dev/ttyACM0", by_id / "usb-Raspberry_Pi_Pico_E6605838833F6B2E-if02");
  fs::create_symlink("/dev/ttyUSB9", by_id / "usb-gone-if00-port0");  // unplugged meanwhile

  const std::vector<SerialPortInfo> ports = ListSerialPortDetails(sysfs.ClassTty(), by_id.string());
  ASSERT_EQ(Names(ports), (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"}));
  EXPECT_EQ(ports[0].StableNames, (std::vector<std::string>{(by_id / "usb-Raspberry_Pi_Pico_E6605838833F6B2E-if00").string(),
                                                            (by_id / "usb-Raspberry_Pi_Pico_E6605838833F6B2E-if02").string()}));
  EXPECT_TRUE(ports[1].StableNames.empty());
  EXPECT_EQ(ports[2].StableNames,
            (std::vector<std::string>{(by_id / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0").string()}));
  // No adapter plugged in: udev has made no folder.
  EXPECT_TRUE(ListSerialPortDetails(sysfs.ClassTty(), (by_id / "missing").string())[2].StableNames.empty());
}

TEST(ListSerialPorts, AnEmptyTableGivesAnEmptyList) {
  FakeSysfs sysfs;
  std::vector<std::string> target = {"/dev/ttyUSB0"};
  ListSerialPorts(target, sysfs.ClassTty());
  EXPECT_TRUE(target.empty());
}

TEST(ListSerialPorts, AMissingTableRaisesAndLeavesTheListAsItWas) {
  std::vector<std::string> target = {"/dev/ttyUSB0", "/dev/ttyS0"};
  try {
    ListSerialPorts(target, "/nonexistent/zorvan/class/tty");
    ADD_FAILURE() << "a missing table raised nothing";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!");
  }
  EXPECT_EQ(target, (std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyS0"}));
}

TEST(ListSerialPorts, ReadsThisMachinesTable) {
  std::vector<std::string> target = {"stale"};
  ListSerialPorts(target);
  for (const std::string& name : target) EXPECT_EQ(name.rfind("/dev/", 0), 0u) << name;
}

}  // namespace
}  // namespace zorvan
