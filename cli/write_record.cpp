#include "cli/write_record.h"

#include "firmware/firmware_source.h"
#include "records/sha256.h"
#include "cli/texts.h"

namespace zorvan::cli {

namespace {

Exception Worded(const ERecordFile& error) {
  const std::string reason = error.Error() != 0 ? ErrorReason(error.Error()) : error.Reason();
  const Msg text =
      error.WhatFailed() == ERecordFile::Act::Open ? Msg::CannotOpenRecordFile : Msg::CannotWriteRecordFile;
  return Exception(Say(text, {error.PathText(), reason}));
}

}  // namespace

std::unique_ptr<RunRecorder> OpenRecorder(const DeviceOptions& options) {
  try {
    return std::make_unique<RunRecorder>(options.record, BaudRateValues[options.baud_rate_index]);
  } catch (const ERecordFile& error) {
    throw Worded(error);
  }
}

void NoteFirmware(RunRecorder& recorder, const DeviceOptions& options, const std::string& hex_text) {
  if (options.hex.empty()) return;
  recorder.SetFirmware(FileNameOnly(options.hex), Sha256Hex(hex_text));
}

void RecordRun(RunRecorder& recorder, const std::string& port, const WriteOutcome& outcome) {
  RecordedRun run;
  run.began = outcome.began;
  run.seconds = outcome.seconds;
  run.exit_status = outcome.exit_status;
  run.result = outcome.result;
  run.description = outcome.description;
  run.loader_version = outcome.loader_version;
  run.calibration = outcome.calibration;
  run.forced = outcome.forced;
  run.reach = outcome.progress;
  try {
    recorder.Record(port, run);
  } catch (const ERecordFile& error) {
    throw Worded(error);
  }
}

}  // namespace zorvan::cli
