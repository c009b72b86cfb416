#include "cli/input_files.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io_error.h"
#include "core/map_file.h"

namespace kxc2::cli {

namespace {

[[noreturn]] void ThrowNamed(const std::string& path, const IoError& error) {
  throw std::runtime_error(path + ": " + error.what());
}

// Closes the descriptor on every way out of ReadInputBytes.
class InputDescriptor {
 public:
  explicit InputDescriptor(int fd) : fd_(fd) {}
  ~InputDescriptor() { ::close(fd_); }
  InputDescriptor(const InputDescriptor&) = delete;
  InputDescriptor& operator=(const InputDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

MapDocument ReadMapInput(const std::string& path) {
  MapDocument document;
  try {
    ReadMapFile(path, document);
  } catch (const IoError& error) {
    ThrowNamed(path, error);
  }
  return document;
}

std::vector<std::uint8_t> ReadInputBytes(const std::string& path) {
  // Not blocking, and ordinary files only: a pipe or a device under the
  // name would hang the tool or never end.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) ThrowNamed(path, IoErrorFromErrno(errno, path));
  const InputDescriptor input(fd);
  struct stat info {};
  if (::fstat(fd, &info) != 0) ThrowNamed(path, IoErrorFromErrno(errno, path));
  if (!S_ISREG(info.st_mode)) ThrowNamed(path, IoError(kIoInvalidFilename));

  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) return bytes;
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowNamed(path, IoErrorFromErrno(errno, path));
    }
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
}

}  // namespace kxc2::cli
