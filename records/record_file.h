#pragma once
// The file run records are appended to, and what a record says of the machine. The
// file is opened for appending only: each record goes to its end in one write call, so
// that the records of runs ending at the same moment, in this program or another,
// never interleave, and a crash leaves at most one incomplete last line.

#include <filesystem>
#include <mutex>
#include <string>

#include "common/errors.h"

namespace zorvan {

// A record file the system refused: whether it was being opened or written, the file,
// and the system's reason. Each program words it in its own language.
class ERecordFile : public Exception {
 public:
  enum class Act { Open, Write };
  // `reason`: the system's own text; `error`: the error number it stands for where the
  // system has one (errno), else 0.
  ERecordFile(Act act, const std::filesystem::path& path, std::string reason, int error = 0);

  Act WhatFailed() const { return act_; }
  const std::string& PathText() const { return path_; }  // UTF-8
  const std::string& Reason() const { return reason_; }
  int Error() const { return error_; }

 private:
  Act act_;
  std::string path_;
  std::string reason_;
  int error_;
};

class RecordFile {
 public:
  // Opens `path` for appending, creating it when missing. Raises ERecordFile when the
  // system refuses.
  explicit RecordFile(const std::filesystem::path& path);
  ~RecordFile();
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;

  // Appends `line` and a line feed in one write. A last line that a crash cut short is
  // first ended, so that the new record stands on a line of its own. Raises ERecordFile
  // when the line could not be written whole. Safe from any thread.
  void Append(const std::string& line);

  const std::filesystem::path& Path() const { return path_; }

 private:
  // Whether the file is empty or ends with a line feed.
  bool EndsWithLineFeed();
  // Writes `text` in one call; false when not all of it was written.
  bool WriteAll(const std::string& text);
  // Raises the failure of `act` with the system's reason for it.
  [[noreturn]] void Fail(ERecordFile::Act act) const;

  std::filesystem::path path_;
  std::mutex mutex_;
  intptr_t handle_ = -1;  // a file descriptor on Linux, a HANDLE on Windows
};

// The name of this computer.
std::string HostName();

}  // namespace zorvan
