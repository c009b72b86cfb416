#include "core/atomic_file.h"

#include <cerrno>
#include <random>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/io_error.h"

namespace kxc2 {
namespace {

[[noreturn]] void Fail(int err, const std::string& path) { throw IoErrorFromErrno(err, path); }

// The temporary lives beside the target, so the final rename stays on one
// file system; a leading dot keeps it out of listings of the folder.
std::string TempPrefix(const std::string& path) {
  const auto slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".";
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; a folder that cannot be synced is no
// reason to report a completed write as failed.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Creates a new file with a fresh name; created with 0666 so the umask
// applies as for any new file.
int CreateTemporary(const std::string& prefix, std::string& tempPath) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> digit(0, 35);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = prefix;
    for (int i = 0; i < 8; ++i) tempPath += kDigits[digit(random)];
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  // A file the user may not write stays as it is, as an in-place write would.
  if (::access(path_.c_str(), F_OK) == 0 && ::access(path_.c_str(), W_OK) != 0) Fail(errno, path_);
  struct stat old {};
  const bool replacing = ::stat(path_.c_str(), &old) == 0;
  if (replacing && S_ISDIR(old.st_mode)) Fail(EISDIR, path_);
  fd_ = CreateTemporary(TempPrefix(path_), tempPath_);
  if (fd_ < 0) {
    const int err = errno;
    tempPath_.clear();
    Fail(err, path_);
  }
  // A replaced file keeps its permissions.
  if (replacing && ::fchmod(fd_, old.st_mode & 07777) != 0) {
    const int err = errno;
    discard();
    Fail(err, path_);
  }
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
  SyncFolder(FolderOf(path_));
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
