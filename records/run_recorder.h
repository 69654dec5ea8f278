#pragma once
// Keeping every device's run in a run-record file, for the command line's --record and
// the production window alike: the file is opened before any device is touched, and
// each run's record is appended as the run ends, whatever its ending.

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

#include "protocol/writing_reach.h"
#include "records/record_file.h"
#include "serial/port_list.h"

namespace zorvan {

// What a record keeps of one device's run.
struct RecordedRun {
  std::chrono::system_clock::time_point began;
  double seconds = 0;
  int exit_status = 0;      // as the command line's write would have ended
  std::string result;       // the first line of the system's message that ended the run
  std::string description;  // what the device said of itself before the run
  std::string loader_version;
  std::string calibration;  // the final calibration label
  bool forced = false;      // the version gate refused the device and was overridden
  WritingReach reach;
};

class RunRecorder {
 public:
  // Opens `file` for appending; raises ERecordFile when it cannot be. `baud`: the line
  // rate every run uses.
  RunRecorder(const std::filesystem::path& file, unsigned baud);

  // The HEX file the runs write: its name and the SHA-256 of its text as read. Not
  // needed for the carried firmware.
  void SetFirmware(std::string hex_file, std::string hex_sha256);

  // Appends the record of the run on `port`. Raises ERecordFile when it could not be
  // written. Safe from any thread.
  void Record(const std::string& port, const RecordedRun& run);

  const std::filesystem::path& Path() const { return file_.Path(); }

 private:
  RecordFile file_;
  std::string host_;
  unsigned baud_;
  std::string hex_file_;
  std::string hex_sha256_;
  // The system's ports by their identity when recording began, for the USB adapter
  // behind each.
  const std::map<std::string, SerialPortInfo> adapters_;
};

}  // namespace zorvan
