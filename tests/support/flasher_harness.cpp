#include "tests/support/flasher_harness.h"

#include "common/conversions.h"
#include "protocol/loader_port.h"

namespace zorvan::testing {

sim::LoaderConfig SmallDevice(int chunks, int chunk_size, int blocks) {
  sim::LoaderConfig c;
  c.geometry = {chunks, chunk_size, blocks};
  c.description = "250101";
  return c;
}

std::string PatternImage(size_t bytes) {
  std::string cycle;  // 251 bytes, a prime count, so that no chunk repeats its neighbour
  for (size_t i = 0; i < 251; ++i) cycle += IntToHex((i * 7 + 3) % 256, 2);
  std::string digits;
  digits.reserve(2 * bytes + cycle.size());
  while (digits.size() < 2 * bytes) digits += cycle;
  digits.resize(2 * bytes);
  return digits;
}

FlasherHarness::FlasherHarness(sim::LoaderConfig config, unsigned baud, double adapter_latency_ms)
    : sim(config, baud, adapter_latency_ms) {
  ApplyLoaderPortSettings(port);
  // The device answers at once, but on a busy machine its thread may not run for a
  // while: generous read limits keep that from passing for a silent device, as a slow
  // adapter would be allowed for. A reply still ends its read as soon as it has come.
  port.Timeouts().SetReadTotalConstant(100);
  flasher.exchange.unknown_adapter_latency_ms = 100;
  surface.port_name = sim.PortPath();
  surface.really_sleep = false;  // the protocol's pauses are seen, not waited for
  state.ImageText = PatternImage(static_cast<size_t>(config.geometry.Bytes()));
  state.ImageComplete = true;
  // As if the firmware's records had filled the device exactly.
  if (config.geometry.Bytes() > 0) state.WrittenRanges = {{0, static_cast<uint32_t>(config.geometry.Bytes())}};
}

void FlasherHarness::UseRealTiming() {
  ApplyLoaderPortSettings(port);
  flasher.exchange = ExchangeSettings{};
  surface.really_sleep = true;
}

std::vector<std::string> FlasherHarness::FramesOf(const std::string& code) {
  std::vector<std::string> out;
  for (const std::string& f : Frames()) {
    if (f.compare(1, 2, code) == 0) out.push_back(f);
  }
  return out;
}

std::string FlashDigits(const sim::LoaderModel& device) {
  std::string digits;
  for (uint8_t b : device.Flash()) digits += IntToHex(b, 2);
  return digits;
}

std::string FlasherHarness::FlashDigits() { return testing::FlashDigits(sim.Device()); }

}  // namespace zorvan::testing
