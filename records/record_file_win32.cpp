#include <windows.h>

#include "common/errors.h"
#include "records/record_file.h"

namespace zorvan {

namespace {

HANDLE AsHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string Utf8(const wchar_t* text, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

RecordFile::RecordFile(const std::filesystem::path& path) : path_(path) {
  // Append access without write access makes Windows put every write at the end of the
  // file as one piece, whoever else appends meanwhile.
  const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail(ERecordFile::Act::Open);
  handle_ = reinterpret_cast<intptr_t>(file);
}

RecordFile::~RecordFile() { CloseHandle(AsHandle(handle_)); }

bool RecordFile::EndsWithLineFeed() {
  // Opened for appending only: the last character is read through a second handle.
  const HANDLE reader = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (reader == INVALID_HANDLE_VALUE) return true;
  LARGE_INTEGER size{};
  char last = '\n';
  DWORD read = 0;
  if (GetFileSizeEx(reader, &size) && size.QuadPart > 0) {
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - 1;
    if (!SetFilePointerEx(reader, at, nullptr, FILE_BEGIN) || !ReadFile(reader, &last, 1, &read, nullptr) ||
        read != 1) {
      last = '\n';
    }
  }
  CloseHandle(reader);
  return last == '\n';
}

bool RecordFile::WriteAll(const std::string& text) {
  DWORD written = 0;
  return WriteFile(AsHandle(handle_), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

void RecordFile::Fail(ERecordFile::Act act) const {
  const DWORD error = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length ? Utf8(text, static_cast<int>(length)) : "error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == '.')) {
    message.pop_back();
  }
  throw ERecordFile(act, path_, message);
}

std::string HostName() {
  wchar_t name[256] = {};
  DWORD size = 256;
  if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
  return Utf8(name, static_cast<int>(size));
}

}  // namespace zorvan
