#include "core/atomic_file.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io_error.h"

namespace kxc2 {
namespace {

[[noreturn]] void Fail(int err, const std::string& path) { throw IoError(IoCodeFromErrno(err, path)); }

std::string TempPattern(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".XXXXXX";
}

// mkstemp makes 0600 files; a saved map should get the usual permissions.
mode_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  // A file the user may not write stays as it is, as an in-place write would.
  if (::access(path_.c_str(), F_OK) == 0 && ::access(path_.c_str(), W_OK) != 0) Fail(errno, path_);
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) Fail(EISDIR, path_);
  tempPath_ = TempPattern(path_);
  fd_ = ::mkstemp(tempPath_.data());
  if (fd_ < 0) Fail(errno, path_);
  ::fchmod(fd_, DefaultFileMode());
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(fd_, bytes, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      Fail(errno, path_);
    }
    if (written == 0) Fail(ENOSPC, path_);
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
}

void AtomicFile::commit() {
  if (::fsync(fd_) != 0) Fail(errno, path_);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    ::unlink(tempPath_.c_str());
    Fail(errno, path_);
  }
  if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    const int err = errno;
    ::unlink(tempPath_.c_str());
    Fail(err, path_);
  }
  tempPath_.clear();
}

void AtomicFile::discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
  tempPath_.clear();
}

void WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
  AtomicFile file(path);
  file.write(data, size);
  file.commit();
}

}  // namespace kxc2
