// The Windows port table, read from keys of the test's own under HKEY_CURRENT_USER, laid
// out as the serial drivers lay out HARDWARE\DEVICEMAP\SERIALCOMM.

#include <windows.h>

#include <gtest/gtest.h>

#include "serial/ecomport.h"
#include "serial/port_list.h"

namespace zorvan {
namespace {

class PortTable : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = "Software\\Zorvan flasher tests\\SERIALCOMM-" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key_, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    if (key_ != nullptr) RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zorvan flasher tests");
  }

  std::string Table() const { return "HKEY_CURRENT_USER\\" + path_; }

  void AddPort(const std::string& device, const std::string& port) {
    ASSERT_EQ(
        RegSetValueExA(key_, device.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                       static_cast<DWORD>(port.size() + 1)),
        ERROR_SUCCESS);
  }

  void ExpectNoTable(const std::string& table) {
    std::vector<std::string> target = {"COM9"};
    try {
      ListSerialPorts(target, table);
      FAIL() << "listed " << table;
    } catch (const EComPort& e) {
      EXPECT_EQ(e.Message(), "Відсутні СОМ-порти!\nНеобхідно повторно відкрити програму!");
    }
    EXPECT_EQ(target, std::vector<std::string>{"COM9"});
  }

  std::string path_;
  HKEY key_ = nullptr;
};

TEST_F(PortTable, ListsThePortNamesSortedAsTextWithTheirDevices) {
  AddPort("\\Device\\Serial0", "COM1");
  AddPort("\\Device\\VCP0", "COM10");
  AddPort("\\Device\\Silabser0", "COM3");
  AddPort("\\Device\\Serial1", "COM2");
  std::vector<std::string> target = {"old"};
  ListSerialPorts(target, Table());
  EXPECT_EQ(target, (std::vector<std::string>{"COM1", "COM10", "COM2", "COM3"}));
  ListSerialPorts(target, Table());  // again: the same list, not a doubled one
  EXPECT_EQ(target, (std::vector<std::string>{"COM1", "COM10", "COM2", "COM3"}));

  const auto details = ListSerialPortDetails(Table());
  ASSERT_EQ(details.size(), 4u);
  EXPECT_EQ(details[1].Name, "COM10");
  EXPECT_EQ(details[1].Driver, "\\Device\\VCP0");
}

TEST_F(PortTable, AnEmptyTableGivesAnEmptyList) {
  std::vector<std::string> target = {"COM9"};
  ListSerialPorts(target, Table());
  EXPECT_TRUE(target.empty());
}

TEST_F(PortTable, AMissingTableRaisesAndLeavesTheListAsItWas) {
  ExpectNoTable(Table() + "\\absent");
  ExpectNoTable("HKEY_NOWHERE\\HARDWARE");
}

TEST_F(PortTable, APortNameLongerThanTheBufferMakesTheTableUnreadable) {
  AddPort("\\Device\\Serial0", "COM1");
  AddPort("\\Device\\Odd0", std::string(300, 'C'));
  ExpectNoTable(Table());
}

TEST_F(PortTable, DataWithoutATerminatingZeroIsTakenAsItStands) {
  const char name[] = {'C', 'O', 'M', '7'};
  ASSERT_EQ(RegSetValueExA(key_, "\\Device\\Serial6", 0, REG_BINARY,
                           reinterpret_cast<const BYTE*>(name), sizeof name),
            ERROR_SUCCESS);
  std::vector<std::string> target;
  ListSerialPorts(target, Table());
  EXPECT_EQ(target, std::vector<std::string>{"COM7"});
}

TEST_F(PortTable, AnFtdiAdapterShowsTheLatencyTimerItsDriverKeeps) {
  // Laid out as FTDI's driver lays out an adapter; writing there takes an administrator
  // on Windows, which Wine's user is.
  const std::string device = "SYSTEM\\CurrentControlSet\\Enum\\FTDIBUS\\VID_0403+PID_6001+ZORVAN" +
                             std::to_string(GetCurrentProcessId()) + "A";
  HKEY parameters = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, (device + "\\0000\\Device Parameters").c_str(), 0, nullptr, 0,
                      KEY_ALL_ACCESS, nullptr, &parameters, nullptr) != ERROR_SUCCESS) {
    GTEST_SKIP() << "the driver's settings cannot be laid out here (not an administrator)";
  }
  const std::string port = "COMZ" + std::to_string(GetCurrentProcessId());
  const DWORD latency = 16;
  RegSetValueExA(parameters, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                 static_cast<DWORD>(port.size() + 1));
  RegSetValueExA(parameters, "LatencyTimer", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&latency), sizeof latency);
  RegCloseKey(parameters);
  AddPort("\\Device\\VCP0", port);
  AddPort("\\Device\\Serial0", "COM1");

  const auto details = ListSerialPortDetails(Table());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, device.c_str());
  ASSERT_EQ(details.size(), 2u);
  EXPECT_EQ(details[0].Name, "COM1");
  EXPECT_EQ(details[0].LatencyTimerMs, "");
  EXPECT_EQ(details[1].Name, port);
  EXPECT_EQ(details[1].LatencyTimerMs, "16");
}

}  // namespace
}  // namespace zorvan
