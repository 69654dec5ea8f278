#include "tools/sim/usb_adapter.h"

#include <gtest/gtest.h>

namespace zorvan::sim {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

const Time kStart = Time{} + std::chrono::hours(1);

using BurstList = std::vector<std::pair<std::string, double>>;

// The bursts as text and milliseconds from the start.
BurstList Bursts(const std::deque<Scheduled>& out) {
  BurstList bursts;
  for (const Scheduled& s : out) {
    bursts.emplace_back(s.text, std::chrono::duration<double, std::milli>(s.due - kStart).count());
  }
  return bursts;
}

TEST(UsbAdapter, RepliesWaitForTheNextTickAndOneAcrossATickArrivesInTwoPieces) {
  UsbAdapter adapter(milliseconds(16), kStart);
  std::deque<Scheduled> out;
  adapter.Carry("w8484;", kStart + milliseconds(5), microseconds(87), out);
  adapter.Carry("w8585;", kStart + microseconds(18500), milliseconds(1), out);
  // Characters at 13.5, 14.5 and 15.5 ms go with the tick at 16, the rest with the next.
  EXPECT_EQ(Bursts(out), (BurstList{{"w8484;w85", 16.0}, {"85;", 32.0}}));
}

TEST(UsbAdapter, AFullPacketGoesAtOnceAndStartsTheTimerAgain) {
  UsbAdapter adapter(milliseconds(16), kStart);
  std::deque<Scheduled> out;
  const std::string text(100, 'x');
  // One character every 0.1 ms, the 62nd at 6.2 ms.
  adapter.Carry(text, kStart + milliseconds(10), microseconds(100), out);
  EXPECT_EQ(Bursts(out), (BurstList{{std::string(62, 'x'), 6.2}, {std::string(38, 'x'), 22.2}}));
}

}  // namespace
}  // namespace zorvan::sim
