// The Win32 backend on a null-modem pair of COM ports: both ends are TBComPort, so every
// byte goes through CreateFileA, the DCB and COMMTIMEOUTS, and overlapped transfers.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "serial/bcport.h"
#include "tests/support/com_pair_win32.h"

namespace zorvan {
namespace {

using testing::RunningUnderWine;
using testing::TestComPair;

// The main window's settings: all five time-outs 1 ms, 115200 bit/s.
void UseWindowSettings(TBComPort& port, const std::string& name) {
  port.SetPort(name);
  port.SetBaudRate(br115200);
  TComTimeouts ones;
  ones.SetReadInterval(1);
  ones.SetReadTotalMultiplier(1);
  ones.SetReadTotalConstant(1);
  ones.SetWriteTotalMultiplier(1);
  ones.SetWriteTotalConstant(1);
  port.SetTimeouts(ones);
}

// Reads until `count` bytes have come or a generous limit has passed.
std::string ReadAtLeast(TBComPort& port, size_t count) {
  std::string all;
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (all.size() < count && std::chrono::steady_clock::now() < limit) {
    std::string part;
    port.ReadStr(part, static_cast<int>(count - all.size()));
    all += part;
  }
  return all;
}

class ComPair : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto pair = TestComPair();
    if (!pair) GTEST_SKIP() << testing::kNoComPair;
    UseWindowSettings(a_, pair->first);
    UseWindowSettings(b_, pair->second);
    ASSERT_TRUE(a_.Open());
    ASSERT_TRUE(b_.Open());
  }

  TBComPort a_;
  TBComPort b_;
};

TEST_F(ComPair, AShortReplyEndsTheReadWithWhatArrived) {
  ASSERT_EQ(a_.WriteStr("w8201;"), 6);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::string reply = "left over";
  EXPECT_EQ(b_.ReadStr(reply, 20), 6);
  EXPECT_EQ(reply, "w8201;");
}

TEST_F(ComPair, NothingArrivingReadsNothingAndRaisesNothing) {
  std::string reply = "left over";
  EXPECT_EQ(b_.ReadStr(reply, 20), 0);
  EXPECT_EQ(reply, "");
  EXPECT_EQ(b_.ReadStr(reply, 0), 0);
  EXPECT_EQ(b_.ReadStr(reply, -1), 0);
  EXPECT_EQ(a_.WriteStr(""), 0);
}

TEST_F(ComPair, AReadOfWhatArrivesEndsWithTheFirstBytesAndLeavesReadStrThePortsTimeOuts) {
  TComTimeouts patient;
  patient.SetReadTotalConstant(5000);
  b_.SetTimeouts(patient);
  std::string text = "old";
  EXPECT_EQ(b_.ReadArrived(text, 20, std::chrono::steady_clock::now() + std::chrono::milliseconds(200)), 0);
  EXPECT_EQ(text, "");

  std::thread device([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    a_.WriteStr("w84");
  });
  const auto start = std::chrono::steady_clock::now();
  std::string reply;
  while (reply.size() < 3 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    b_.ReadArrived(text, 20, start + std::chrono::seconds(20));
    reply += text;
  }
  device.join();
  EXPECT_EQ(reply, "w84");  // as the bytes came, not at the deadline or with 20 of them

  // The next ordinary read waits as the port's own time-outs say.
  device = std::thread([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    a_.WriteStr("x");
  });
  EXPECT_EQ(b_.ReadStr(text, 1), 1);
  device.join();
  EXPECT_EQ(text, "x");
}

TEST_F(ComPair, EveryByteValueCrossesUnchangedBothWays) {
  std::string all(256, '\0');
  for (int i = 0; i < 256; ++i) all[i] = static_cast<char>(i);
  ASSERT_EQ(a_.WriteStr(all), 256);
  EXPECT_EQ(ReadAtLeast(b_, 256), all);
  ASSERT_EQ(b_.WriteStr(all), 256);
  EXPECT_EQ(ReadAtLeast(a_, 256), all);
}

TEST_F(ComPair, BytesPastTheCountStayQueuedForTheNextRead) {
  ASSERT_EQ(a_.WriteStr("0123456789"), 10);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  std::string first;
  std::string rest;
  EXPECT_EQ(b_.ReadStr(first, 4), 4);
  EXPECT_EQ(first, "0123");
  EXPECT_EQ(ReadAtLeast(b_, 6), "456789");
  EXPECT_EQ(b_.ReadStr(rest, 20), 0);
}

TEST_F(ComPair, OpenAndCloseAgainAndAgainLeaveNoHandleBehind) {
  ASSERT_TRUE(b_.Close());
  DWORD before = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &before));
  for (int i = 0; i < 20; ++i) {
    ASSERT_TRUE(b_.Open());
    EXPECT_TRUE(b_.Open());  // already open: no second handle
    ASSERT_EQ(a_.WriteStr("x"), 1);
    EXPECT_EQ(ReadAtLeast(b_, 1), "x");
    ASSERT_TRUE(b_.Close());
    EXPECT_FALSE(b_.Connected());
  }
  DWORD after = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &after));
  EXPECT_EQ(after, before);
}

TEST_F(ComPair, SettingsChangedWhileOpenKeepTheLineWorking) {
  for (TBaudRate rate : {br9600, br57600, br256000, br115200}) {
    a_.SetBaudRate(rate);
    b_.SetBaudRate(rate);
    ASSERT_EQ(a_.WriteStr("ok"), 2);
    EXPECT_EQ(ReadAtLeast(b_, 2), "ok") << BaudRateValues[rate];
  }
}

TEST_F(ComPair, ASecondOpenerIsTurnedAway) {
  if (RunningUnderWine()) {
    GTEST_SKIP() << "Wine does not keep a COM port opened with share mode 0 from other openers";
  }
  TBComPort other;
  other.SetPort(a_.Port());
  try {
    other.Open();
    FAIL() << "a second opener got the port";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Порт зайнятий іншою програмою");
  }
  EXPECT_FALSE(other.Connected());
}

TEST(TBComPortWin32, ANameOfAPortInAnyCaseOrDeviceFormIsTheSamePort) {
  EXPECT_EQ(PortIdentity("com3"), "COM3");
  EXPECT_EQ(PortIdentity("\\\\.\\COM3"), "COM3");
  EXPECT_NE(PortIdentity("COM3"), PortIdentity("COM13"));
}

TEST(TBComPortWin32, AMissingPortIsNamedAsMissing) {
  TBComPort port;
  port.SetPort("COM239");
  try {
    port.Open();
    FAIL() << "COM239 opened";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Спроба відкрити неіснуючий СОМ-порт");
  }
  EXPECT_FALSE(port.Connected());
}

TEST(TBComPortWin32, AnyOtherOpenFailureIsToldByTheFirstSettingsStep) {
  TBComPort port;
  port.SetPort("COM?");  // no such name can be a device: the open fails for a bad name
  try {
    port.Open();
    FAIL() << "COM? opened";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка функції SetupComm\nНеобхідно повторно відкрити програму!");
  }
  EXPECT_FALSE(port.Connected());
}

TEST(TBComPortWin32, AFileOrAFolderNamedAsThePortIsLeftUntouchedAndNamedAsSuch) {
  char temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string folder = std::string(temp) + "zorvan-port-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::string file = folder + "\\notes.txt";
  {
    std::ofstream(file) << "keep me";
  }
  for (const auto& [name, hint] : {std::pair{file, file + " is a file, not a serial port."},
                                   std::pair{folder, folder + " is a folder, not a serial port."}}) {
    TBComPort port;
    port.SetPort(name);
    try {
      port.Open();
      ADD_FAILURE() << name << " opened";
    } catch (const EComPort& e) {
      EXPECT_EQ(e.Message(), "Помилка функції SetupComm\nНеобхідно повторно відкрити програму!") << name;
    }
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(PortAccessHint(name), hint);
  }
  EXPECT_EQ(PortAccessHint("COM239"), "");  // a port name, even of no port, is no path
  std::ifstream kept(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep me");
  kept.close();
  DeleteFileA(file.c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(TBComPortWin32, TransfersOnAClosedPortFailWithoutReachingADevice) {
  TBComPort port;
  std::string text;
  try {
    port.WriteStr("w0;");
    FAIL() << "wrote on a closed port";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка запису в порт.\nНеобхідно повторно відкрити програму!");
  }
  try {
    port.ReadStr(text, 5);
    FAIL() << "read on a closed port";
  } catch (const EComPort& e) {
    EXPECT_EQ(e.Message(), "Помилка читання з порта\nНеобхідно повторно відкрити програму!");
  }
}

}  // namespace
}  // namespace zorvan
