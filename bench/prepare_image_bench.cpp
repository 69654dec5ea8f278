// How long preparing the carried firmware takes against writing the same 40,000,000
// digits with memset, measured in one run so the ratio holds on any machine.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "common/gauge_model.h"
#include "firmware/embedded_firmware.h"
#include "firmware/image_builder.h"
#include "protocol/headless_surface.h"

namespace {

using namespace zorvan;

// A surface with nobody behind it: the cost measured is the preparation's own.
class SilentSurface : public HeadlessSurface {
 public:
  SilentSurface() : HeadlessSurface(null_) {}

 private:
  std::ostream null_{nullptr};
};

void BM_MemsetImage(benchmark::State& state) {
  auto buffer = std::make_unique<char[]>(kImageLength);
  for (auto _ : state) {
    std::memset(buffer.get(), 'F', kImageLength);
    benchmark::DoNotOptimize(buffer.get());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemsetImage)->Unit(benchmark::kMillisecond);

void BM_PrepareEmbeddedFirmware(benchmark::State& state) {
  SilentSurface surface;
  ImageState image;
  for (auto _ : state) {
    HexText text{std::string(EmbeddedFirmware)};
    if (!PrepareImage(surface, text, image)) state.SkipWithError("preparation failed");
    benchmark::DoNotOptimize(image.ImageText.data());
  }
}
BENCHMARK(BM_PrepareEmbeddedFirmware)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
