#include "core/atomic_file.h"

#include <cerrno>
#include <random>

#include "core/io_error.h"
#include "core/os_files.h"

namespace kxc2 {
namespace {

[[noreturn]] void Fail(int err, const std::string& path) { throw IoErrorFromErrno(err, path); }

// The temporary lives beside the target, so the final rename stays on one
// file system; a leading dot keeps it out of listings of the folder.
std::string TempPrefix(const std::string& path) {
  const auto slash = LastSeparator(path);
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + name + ".";
}

// Creates a new file with a fresh name.
int CreateTemporary(const std::string& prefix, std::string& tempPath) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<int> digit(0, 35);
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = prefix;
    for (int i = 0; i < 8; ++i) tempPath += kDigits[digit(random)];
    const int fd = CreateNewFile(tempPath);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
  // A file the user may not write stays as it is, as an in-place write would.
  const FileKind old = KindOf(path_);
  const bool replacing = old != FileKind::Missing;
  if (replacing && !MayWrite(path_)) Fail(errno, path_);
  if (old == FileKind::Folder) Fail(EISDIR, path_);
  fd_ = CreateTemporary(TempPrefix(path_), tempPath_);
  if (fd_ < 0) {
    const int err = errno;
    tempPath_.clear();
    Fail(err, path_);
  }
  // A replaced file keeps its permissions.
  if (replacing && !CopyPermissions(path_, fd_)) {
    const int err = errno;
    discard();
    Fail(err, path_);
  }
}

AtomicFile::~AtomicFile() { discard(); }

void AtomicFile::write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const long written = WriteSome(fd_, bytes, size);
    if (written < 0) Fail(errno, path_);
    if (written == 0) Fail(ENOSPC, path_);
    bytes += written;
    size -= static_cast<std::size_t>(written);
  }
}

void AtomicFile::commit() {
  if (!SyncFile(fd_)) Fail(errno, path_);
  const int fd = fd_;
  fd_ = -1;
  if (!CloseFile(fd)) {
    const int err = errno;
    RemoveFile(tempPath_);
    Fail(err, path_);
  }
  if (!MoveOverFile(tempPath_, path_)) {
    const int err = errno;
    RemoveFile(tempPath_);
    Fail(err, path_);
  }
  tempPath_.clear();
  SyncFolder(FolderOf(path_));
}

void AtomicFile::discard() noexcept {
  if (fd_ >= 0) CloseFile(fd_);
  fd_ = -1;
  if (!tempPath_.empty()) RemoveFile(tempPath_);
  tempPath_.clear();
}

void WriteFileAtomically(const std::string& path, const void* data, std::size_t size) {
  AtomicFile file(path);
  file.write(data, size);
  file.commit();
}

}  // namespace kxc2
