#pragma once
// What zorvan-flash write --record FILE keeps of every device's run: the file is opened
// before any device is touched, and each run's record is appended as the run ends,
// whatever its ending.

#include <map>
#include <string>

#include "serial/port_list.h"
#include "cli/device_session.h"
#include "cli/record_file.h"
#include "cli/write_run.h"

namespace zorvan::cli {

class RunRecorder {
 public:
  // Opens the options' record file for appending; raises zorvan::Exception when it
  // cannot be.
  explicit RunRecorder(const DeviceOptions& options);

  // The HEX file's content as read, before any change, whose SHA-256 the records carry;
  // not needed for the carried firmware.
  void NoteFirmware(const std::string& hex_text);

  // Appends the record of the run on `port`. Raises zorvan::Exception when it could not
  // be written. Safe from any thread.
  void Record(const std::string& port, const WriteOutcome& outcome);

 private:
  RecordFile file_;
  std::string host_;
  unsigned baud_;
  std::string hex_path_;
  std::string hex_file_;
  std::string hex_sha256_;
  // The system's ports by their identity when the command began, for the USB adapter
  // behind each.
  const std::map<std::string, SerialPortInfo> adapters_;
};

}  // namespace zorvan::cli
