// The Windows port in the middle of an unplug and a re-plug, in one process: run by
// tests/wine_replug_end_to_end.sh, which plays the adapter with zorvan-sim. The first
// device hangs up mid-run; the script then offers a fresh one at the same COM port, and
// the same port object must program it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "firmware/firmware_source.h"
#include "firmware/image_builder.h"
#include "protocol/loader_port.h"
#include "protocol/programming_run.h"
#include "tests/support/recording_surface.h"

namespace zorvan::testing {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(WindowsReplug, DISABLED_TheNextWriteProgramsTheAdapterPluggedBackIn) {
  const std::string port_name = Environment("ZORVAN_REPLUG_PORT");
  const std::filesystem::path signals = Environment("ZORVAN_REPLUG_SIGNALS");
  ASSERT_FALSE(port_name.empty()) << "run by tests/wine_replug_end_to_end.sh";

  RecordingSurface surface;
  surface.port_name = port_name;
  surface.really_sleep = false;
  FlasherState state;
  HexText text = LoadHexText(Environment("ZORVAN_REPLUG_HEX"));
  ASSERT_TRUE(PrepareImage(surface, text, state));
  TBComPort port;
  ApplyLoaderPortSettings(port);
  port.Timeouts().SetReadTotalConstant(100);  // a busy machine must not pass for a silent device
  Flasher flasher{state, surface, port};

  EXPECT_THROW(ButtonWriteClick(flasher), EComPort);  // the device hangs up mid-run
  std::ofstream(signals / "pulled").put('\n');
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!std::filesystem::exists(signals / "plugged") && std::chrono::steady_clock::now() < limit) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(std::filesystem::exists(signals / "plugged")) << "no device was plugged back in";

  EXPECT_EQ(ButtonWriteClick(flasher), RunEnding::Completed);
  EXPECT_FALSE(port.Connected());
}

}  // namespace
}  // namespace zorvan::testing
