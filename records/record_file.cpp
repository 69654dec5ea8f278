#include "records/record_file.h"


namespace zorvan {

namespace {

std::string Utf8Text(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

ERecordFile::ERecordFile(Act act, const std::filesystem::path& path, std::string reason, int error)
    : Exception(Utf8Text(path) + ": " + reason), act_(act), path_(Utf8Text(path)), reason_(std::move(reason)),
      error_(error) {}

void RecordFile::Append(const std::string& line) {
  std::lock_guard lock(mutex_);
  const std::string text = (EndsWithLineFeed() ? "" : "\n") + line + "\n";
  if (!WriteAll(text)) Fail(ERecordFile::Act::Write);
}

}  // namespace zorvan
