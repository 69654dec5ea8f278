#pragma once
// Errors that end a handler and reach the operator through the one top-level display.

#include <stdexcept>
#include <string>

namespace zorvan {

// The base of every error whose text is shown to the operator as it stands.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  std::string Message() const { return what(); }
};

// A text that should have been a number: "'%s' is not a valid integer value".
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A file that could not be opened, read or written: the runtime's text, with the file's
// full path and the system's error number kept apart, so that a tool can say it in the
// operator's words.
class EFileError : public Exception {
 public:
  EFileError(const std::string& message, std::string path, int error)
      : Exception(message), path_(std::move(path)), error_(error) {}
  const std::string& Path() const { return path_; }
  int Error() const { return error_; }

 private:
  std::string path_;
  int error_;
};

// A value refused by a control, such as a negative gauge maximum.
class ERangeError : public Exception {
 public:
  using Exception::Exception;
};

// The text the default exception display shows: a full stop is added when the
// last character sorts above the full stop itself (so "!" and "." stay as they are,
// letters and digits get one).
std::string ExceptionDisplayText(const std::string& message);

}  // namespace zorvan
