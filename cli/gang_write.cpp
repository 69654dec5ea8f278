#include "cli/gang_write.h"

#include <unistd.h>

#include <atomic>
#include <iostream>
#include <thread>

#include "common/errors.h"

#include "cli/console_text.h"
#include "cli/exit_codes.h"
#include "cli/gang_board.h"
#include "cli/system_texts.h"
#include "cli/texts.h"
#include "cli/write_run.h"

namespace zorvan::cli {

namespace {

std::string ResultLine(const WriteOutcome& outcome) {
  return Say(Msg::ResultWithStatus,
             {CommandLineText(outcome.result), DurationText(outcome.seconds), std::to_string(outcome.exit_status)});
}

}  // namespace

int RunGang(const DeviceOptions& options, const ImageState& image, const std::string& hex_file_name,
            RunRecorder* recorder) {
  const std::vector<std::string>& ports = options.ports;
  std::vector<WriteOutcome> outcomes(ports.size());
  std::atomic<bool> unrecorded{false};
  {
    GangBoard board(std::cout, std::cerr, isatty(STDOUT_FILENO) != 0 && !options.quiet, ports, ConsoleColumns());
    std::vector<std::thread> runs;
    for (size_t i = 0; i < ports.size(); ++i) {
      // Each run blocks in its pauses and transfers, as the window's does: one thread
      // per device lets them all wait at once.
      runs.emplace_back([&, i] {
        outcomes[i] = WriteOnPort(ports[i], options, image, hex_file_name, board.Row(i));
        board.SetLine(i, ResultLine(outcomes[i]), true);
        try {
          if (recorder) RecordRun(*recorder, ports[i], outcomes[i]);
        } catch (const Exception& e) {
          board.Print(i, e.Message(), /*error=*/true);
          unrecorded = true;
        }
      });
    }
    for (std::thread& run : runs) run.join();
  }
  std::cout << "\n" << SummaryTable(ports, outcomes) << std::flush;
  for (const WriteOutcome& outcome : outcomes) {
    if (outcome.exit_status != kExitOk) return kExitGangIncomplete;
  }
  return unrecorded ? kExitRecordFailed : kExitOk;
}

}  // namespace zorvan::cli
