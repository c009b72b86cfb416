#pragma once

#include <stdexcept>
#include <string>

namespace kxc2 {

// The runtime's input/output error codes the user sees.
inline constexpr int kIoFileNotFound = 2;
inline constexpr int kIoInvalidFilename = 3;
inline constexpr int kIoTooManyOpenFiles = 4;
inline constexpr int kIoAccessDenied = 5;
inline constexpr int kIoReadBeyondEnd = 100;
inline constexpr int kIoDiskFull = 101;

// "File not found", ..., "I/O error N".
std::string IoErrorMessage(int code);

class IoError : public std::runtime_error {
 public:
  explicit IoError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}
  IoError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// The code of a failed POSIX call on path; a missing folder on the way to
// the file reads as an invalid file name, not a missing file. Other errno
// values are passed on as they are.
int IoCodeFromErrno(int err, const std::string& path);

// The error of a failed POSIX call on path. An errno value without a runtime
// code of its own reads "I/O error N", even where N happens to equal one of
// the runtime's codes (EIO is 5, not "File access denied").
IoError IoErrorFromErrno(int err, const std::string& path);

}  // namespace kxc2
