#include "serial/bcport.h"

#include <gtest/gtest.h>

namespace zorvan {
namespace {

TEST(TBComPort, StartsClosedWithTheComponentsInitialSettings) {
  TBComPort port;
  EXPECT_FALSE(port.Connected());
  EXPECT_EQ(port.BaudRate(), br9600);
  EXPECT_EQ(port.ByteSize(), bs8);
  EXPECT_EQ(port.InBufSize(), 2048);
  EXPECT_EQ(port.OutBufSize(), 2048);
  EXPECT_EQ(port.Parity(), paNone);
  EXPECT_EQ(port.Port(), "COM2");
  EXPECT_EQ(port.SyncMethod(), smThreadSync);
  EXPECT_EQ(port.StopBits(), sb1);
  EXPECT_EQ(port.Timeouts().ReadInterval(), -1);
  EXPECT_EQ(port.Timeouts().ReadTotalMultiplier(), 0);
  EXPECT_EQ(port.Timeouts().ReadTotalConstant(), 0);
  EXPECT_EQ(port.Timeouts().WriteTotalMultiplier(), 100);
  EXPECT_EQ(port.Timeouts().WriteTotalConstant(), 1000);
}

TEST(TBComPort, QueueSizesDropOneFromPositiveOddValues) {
  TBComPort port;
  for (auto [given, stored] : {std::pair{1001, 1000}, {1000, 1000}, {-3, -3}, {1, 0}, {0, 0}}) {
    port.SetInBufSize(given);
    port.SetOutBufSize(given);
    EXPECT_EQ(port.InBufSize(), stored) << given;
    EXPECT_EQ(port.OutBufSize(), stored) << given;
  }
}

TEST(TBComPort, CloseOnAClosedPortReportsClosed) {
  TBComPort port;
  EXPECT_TRUE(port.Close());
  EXPECT_FALSE(port.Connected());
}

TEST(TComTimeouts, AssigningCopiesAllFiveValues) {
  TComTimeouts window;
  window.SetReadInterval(1);
  window.SetReadTotalMultiplier(2);
  window.SetReadTotalConstant(3);
  window.SetWriteTotalMultiplier(4);
  window.SetWriteTotalConstant(5);
  TBComPort port;
  port.SetTimeouts(window);
  const TComTimeouts& t = port.Timeouts();
  EXPECT_EQ(t.ReadInterval(), 1);
  EXPECT_EQ(t.ReadTotalMultiplier(), 2);
  EXPECT_EQ(t.ReadTotalConstant(), 3);
  EXPECT_EQ(t.WriteTotalMultiplier(), 4);
  EXPECT_EQ(t.WriteTotalConstant(), 5);
  // The values are copied, not shared.
  window.SetReadInterval(9);
  EXPECT_EQ(port.Timeouts().ReadInterval(), 1);
}

}  // namespace
}  // namespace zorvan
