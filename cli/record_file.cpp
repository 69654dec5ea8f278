#include "cli/record_file.h"

#include "common/errors.h"
#include "cli/texts.h"

namespace zorvan::cli {

void RecordFile::Append(const std::string& line) {
  std::lock_guard lock(mutex_);
  const std::string text = (EndsWithLineFeed() ? "" : "\n") + line + "\n";
  if (!WriteAll(text)) {
    const std::string reason = LastError();
    throw Exception(Say(Msg::CannotWriteRecordFile, {path_.string(), reason}));
  }
}

}  // namespace zorvan::cli
