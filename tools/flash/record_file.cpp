#include "tools/flash/record_file.h"

#include "common/errors.h"

namespace zorvan::cli {

void RecordFile::Append(const std::string& line) {
  std::lock_guard lock(mutex_);
  const std::string text = (EndsWithLineFeed() ? "" : "\n") + line + "\n";
  if (!WriteAll(text)) {
    throw Exception("Cannot write to the record file \"" + path_.string() + "\": " + LastError());
  }
}

}  // namespace zorvan::cli
