#include "records/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <system_error>

#include "common/errors.h"

namespace zorvan {

namespace {

int Fd(intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

RecordFile::RecordFile(const std::filesystem::path& path) : path_(path) {
  // O_APPEND makes every write go to the end of the file as one piece, whoever else
  // appends meanwhile.
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) Fail(ERecordFile::Act::Open);
  handle_ = fd;
}

RecordFile::~RecordFile() { close(Fd(handle_)); }

bool RecordFile::EndsWithLineFeed() {
  // Opened for writing only: the last character is read through a second descriptor.
  const int reader = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (reader < 0) return true;
  struct stat status {};
  char last = '\n';
  if (fstat(reader, &status) == 0 && status.st_size > 0 && pread(reader, &last, 1, status.st_size - 1) != 1) {
    last = '\n';
  }
  close(reader);
  return last == '\n';
}

bool RecordFile::WriteAll(const std::string& text) {
  ssize_t written = 0;
  do {
    written = write(Fd(handle_), text.data(), text.size());
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(text.size());
}

void RecordFile::Fail(ERecordFile::Act act) const {
  const int error = errno;
  throw ERecordFile(act, path_, std::generic_category().message(error), error);
}

std::string HostName() {
  char name[HOST_NAME_MAX + 1] = {};
  if (gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

}  // namespace zorvan
