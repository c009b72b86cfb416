#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include "core/os_files.h"
#include "editing/lock_file.h"

namespace kxc2::lock_system {
namespace {

std::string FirstLine(const char* path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

// The name QLockFile records and compares: the executable's file name.
std::optional<std::string> ProgramOf(std::int64_t pid) {
  const std::string link = "/proc/" + std::to_string(pid) + "/exe";
  char target[PATH_MAX];
  const ssize_t size = ::readlink(link.c_str(), target, sizeof target);
  if (size <= 0) return std::nullopt;
  std::string path(target, std::size_t(size));
  const std::string deleted = " (deleted)";  // replaced since it started
  if (path.size() > deleted.size() && path.ends_with(deleted)) path.resize(path.size() - deleted.size());
  return path.substr(path.rfind('/') + 1);
}

}  // namespace

LockOwner ThisProcess() {
  LockOwner self;
  self.pid = ::getpid();
  self.program = ProgramOf(self.pid).value_or("");
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0) self.host = host;
  std::string machine = FirstLine("/etc/machine-id");
  if (machine.empty()) machine = FirstLine("/var/lib/dbus/machine-id");
  self.machineId = machine;
  self.bootId = FirstLine("/proc/sys/kernel/random/boot_id");
  return self;
}

bool Runs(std::int64_t pid, const std::string& program) {
  if (::kill(pid_t(pid), 0) == -1 && errno == ESRCH) return false;
  // An unreadable name counts as another program's, as it does for Qt.
  const auto running = ProgramOf(pid);
  return running && *running == program;
}

Created CreateLock(const std::string& path, const std::string& bytes, std::intptr_t& handle) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? Created::Exists : Created::Failed;
  // Held while the lock lives: a stale-lock removal must take it first.
  ::flock(fd, LOCK_EX | LOCK_NB);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const long written = WriteSome(fd, bytes.data() + done, bytes.size() - done);
    if (written <= 0) {
      ::unlink(path.c_str());
      ::close(fd);
      return Created::Failed;
    }
    done += std::size_t(written);
  }
  ::fdatasync(fd);
  handle = fd;
  return Created::Yes;
}

bool RemoveStaleLock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

void ReleaseLock(const std::string& path, std::intptr_t handle) {
  ::unlink(path.c_str());
  ::close(int(handle));
}

}  // namespace kxc2::lock_system
