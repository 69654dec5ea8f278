#pragma once
// zorvan-flash write --record FILE: the run-record file opened before any device is
// touched, and each run's record appended as the run ends, its failures in the command
// line's language.

#include <memory>
#include <string>

#include "records/run_recorder.h"
#include "cli/device_session.h"
#include "cli/write_run.h"

namespace zorvan::cli {

// Opens the options' record file; raises zorvan::Exception, worded for the screen, when
// it cannot be.
std::unique_ptr<RunRecorder> OpenRecorder(const DeviceOptions& options);

// The HEX file's content as read, before any change, whose SHA-256 the records carry;
// nothing for the carried firmware.
void NoteFirmware(RunRecorder& recorder, const DeviceOptions& options, const std::string& hex_text);

// Appends the record of the run on `port`; raises zorvan::Exception, worded for the
// screen, when it could not be written. Safe from any thread.
void RecordRun(RunRecorder& recorder, const std::string& port, const WriteOutcome& outcome);

}  // namespace zorvan::cli
