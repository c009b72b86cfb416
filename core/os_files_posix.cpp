#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_call_watcher.h"
#include "core/os_files.h"

namespace kxc2 {
namespace {

FileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Folder;
  return FileKind::Other;
}

}  // namespace

FileKind KindOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? KindOfMode(info.st_mode) : FileKind::Missing;
}

bool NameExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

bool MayWrite(const std::string& path) { return ::access(path.c_str(), W_OK) == 0; }
bool FolderTakesNewFiles(const std::string& folder) { return MayWrite(folder); }

int OpenForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); }

// 0666, so the umask applies as for any new file.
int CreateNewFile(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

FileKind KindOfOpen(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 ? KindOfMode(info.st_mode) : FileKind::Missing;
}

long ReadSome(int fd, void* into, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd, into, size);
    if (got >= 0 || errno != EINTR) return static_cast<long>(got);
  }
}

long WriteSome(int fd, const void* from, std::size_t size) {
  if (WatcherFails(FileCall::Write)) return -1;
  for (;;) {
    const ssize_t written = ::write(fd, from, size);
    if (written >= 0 || errno != EINTR) return static_cast<long>(written);
  }
}

std::uint64_t SizeHintOfOpen(int fd) {
  struct stat info {};
  return ::fstat(fd, &info) == 0 && info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
}

bool SyncFile(int fd) { return !WatcherFails(FileCall::SyncFile) && ::fsync(fd) == 0; }

bool CloseFile(int fd) { return ::close(fd) == 0; }

bool CopyPermissions(const std::string& path, int fd) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && ::fchmod(fd, info.st_mode & 07777) == 0;
}

bool MoveOverFile(const std::string& from, const std::string& to) {
  return !WatcherFails(FileCall::Move, to) && ::rename(from.c_str(), to.c_str()) == 0;
}

// A folder that cannot be synced is no reason to report a completed write as failed.
void SyncFolder(const std::string& folder) {
  if (WatcherFails(FileCall::SyncFolder, folder)) return;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// unlink, not remove: an empty folder of the name must stay.
bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool MakeFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ProgramFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  const std::string folder = self.parent_path().string();
  return folder.empty() || folder.back() != '/' ? folder + "/" : folder;
}

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) != 0; }

}  // namespace kxc2
