// An adapter pulled out in the middle of a run and plugged back in: the same port object,
// in the same process, programs the device that answers on the port's path afterwards.

#include <gtest/gtest.h>

#include "protocol/programming_run.h"
#include "tests/support/adapter_link.h"
#include "tests/support/flasher_harness.h"

namespace zorvan::testing {
namespace {

TEST(Replug, AfterAHangUpMidRunTheNextWriteProgramsTheAdapterPluggedBackIn) {
  sim::LoaderConfig pulled_out = SmallDevice();
  pulled_out.faults.hangup_after = 6;  // in the middle of the first block
  FlasherHarness h(pulled_out);
  AdapterLink link;
  link.PointAt(h.sim.PortPath());
  h.surface.port_name = link.Path();

  EXPECT_THROW(ButtonWriteClick(h.flasher), EComPort);
  EXPECT_TRUE(h.port.Connected());  // the run ended where the line failed, as any port error ends it

  sim::SimThread plugged_back(SmallDevice());
  link.PointAt(plugged_back.PortPath());
  EXPECT_EQ(ButtonWriteClick(h.flasher), RunEnding::Completed);
  EXPECT_EQ(h.surface.status, "Мікропрограма : успішно завантажена в 12:34:56");
  EXPECT_FALSE(h.port.Connected());
  EXPECT_EQ(FlashDigits(plugged_back.Device()), h.state.ImageText);
}

}  // namespace
}  // namespace zorvan::testing
