#pragma once
// The record of one device's write run, kept for production traceability: one line of
// JSON per device and run (JSON Lines), appended to a file the operator names.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace zorvan {

struct RunRecord {
  std::string began;  // local time with its offset from UTC: 2026-03-13T14:05:09+02:00
  double seconds = 0;
  std::string host;
  std::string port;
  std::string adapter_usb;     // the USB adapter's vendor:product; empty when unknown
  std::string adapter_serial;  // its serial number; empty when unknown
  unsigned baud = 0;
  std::string loader_version;
  std::string description;  // what the device said of itself before the run
  std::string firmware_version;
  std::string hex_file;    // the HEX file's name; empty: the carried firmware
  std::string hex_sha256;  // the file's SHA-256 in hex digits
  bool forced = false;     // the version gate refused the device and was overridden
  std::string result;      // the system's own message that ended the run
  int exit_status = 0;
  int failed_attempts = 0;
  // The final pauses in milliseconds, which are also the failed attempts of each kind.
  int erase_pause = 0;
  int write_pause = 0;
  int commit_pause = 0;
  // How far the writing got, for a run that began erasing; nothing for one that did not.
  bool erasing_begun = false;
  int64_t blocks_done = 0;
  int64_t blocks = 0;
  int64_t address = 0;          // the first byte not yet written
  bool partly_written = false;  // it erased and did not complete: the device must be written again
};

// The record as one line of JSON, without its line feed. Bytes of the device's texts
// that are not UTF-8 are replaced, so that every line parses.
std::string RecordLine(const RunRecord& record);
// The record a line holds; nothing when it is no JSON object.
std::optional<RunRecord> ParseRecordLine(const std::string& line);

// The records of a file's text, in order. A line that does not parse is left out: a
// last line cut short by a crash silently, any other with a note in `skipped` (its
// 1-based number).
std::vector<RunRecord> ParseRecords(const std::string& text, std::vector<size_t>* skipped = nullptr);

// `t` as local time with its offset from UTC, to the second.
std::string IsoLocalTime(std::time_t t);
// The moment an ISO 8601 time with an offset ("Z" or "+02:00") stands for.
std::optional<std::time_t> ParseIsoTime(const std::string& text);
// The moment a local date ("2026-03-13") or date and time ("2026-03-13 14:05" or with
// seconds, a "T" in place of the space) stands for.
std::optional<std::time_t> ParseLocalTime(const std::string& text);

// The erase, write and commit pauses of a calibration label ("Автокалібровка: 1.0.2").
void TakePauses(const std::string& calibration, RunRecord& record);

}  // namespace zorvan
