#include "cli/progress_surface.h"

#include <gtest/gtest.h>

#include <sstream>

#include "protocol/programming_run.h"
#include "cli/language.h"

namespace zorvan::cli {
namespace {

TEST(ProgressSurface, CountsAFinishedBlockOnceWhileTheNextIsErased) {
  FlasherState state;
  state.ChunksPerBlock = 4;
  state.ChunkSize = 16;
  state.BlockCount = 10;
  std::ostringstream out;
  ConsoleProgressView view(out, out, /*terminal=*/false);
  ProgressSurface surface(view, state, Verbosity::Normal);
  surface.SetStatus(kWritingStatus);
  surface.SetGaugeMax(state.BlockCount);
  surface.SetGaugeProgress(0);
  surface.SetChunkBarMax(state.ChunksPerBlock);
  surface.SetChunkBarPosition(0);
  for (int chunk = 1; chunk <= state.ChunksPerBlock; ++chunk) surface.SetChunkBarPosition(chunk);
  // The block is done; the chunk bar stands full until the next block's erase.
  surface.StepGauge(1);
  const std::string lines = out.str();
  EXPECT_NE(lines.find(" 10%  64/640 байт"), std::string::npos) << lines;
  EXPECT_EQ(lines.find("128/640"), std::string::npos) << lines;
}

TEST(ProgressLine, ShowsBarPercentBytesRateTimeLeftAndCalibrationInTheScreensLanguage) {
  ProgressFigures f;
  f.percent = 50;
  f.bytes_done = 2048;
  f.bytes_total = 4096;
  f.seconds = 2;
  f.calibration = "Автокалібровка: 1.0.2";
  EXPECT_EQ(ProgressLine(f), "[############............]  50%  2048/4096 байт  1.0 КіБ/с  лишилось 0:02  "
                             "Автокалібровка: 1.0.2");
  SetLanguage(Language::English);
  f.calibration = "Calibration: 1.0.2";
  EXPECT_EQ(ProgressLine(f), "[############............]  50%  2048/4096 bytes  1.0 KiB/s  0:02 left  "
                             "Calibration: 1.0.2");
  SetLanguage(Language::Ukrainian);
}

}  // namespace
}  // namespace zorvan::cli
