#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A lock file in the format Qt's QLockFile reads and writes, so that locks
// taken by the Qt editor and by this library respect each other: one line
// each for the owner's process id, program name, host name, machine id and
// boot id.

namespace kxc2 {

struct LockOwner {
  std::int64_t pid = 0;
  std::string program;  // the executable's name, as the system reports it
  std::string host;
  // Absent in locks written before Qt 5.10; then the host name decides.
  std::optional<std::string> machineId;
  std::string bootId;
};

std::string LockFileBytes(const LockOwner& owner);
// Nothing when the file names no process (empty, damaged).
std::optional<LockOwner> ParseLockFile(std::string_view bytes);
// Whether the owner is a process of this machine that no longer runs, as
// QLockFile judges it: a lock is never stale by its age alone.
bool IsStaleLock(const LockOwner& owner);

class LockFile {
 public:
  // Creates the lock at path, first removing a stale one; nullptr when a
  // running process holds it or it cannot be created.
  static std::unique_ptr<LockFile> TryLock(const std::string& path);
  // Removes the lock file.
  ~LockFile();
  LockFile(const LockFile&) = delete;
  LockFile& operator=(const LockFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  LockFile(std::string path, std::intptr_t handle) : path_(std::move(path)), handle_(handle) {}

  std::string path_;
  std::intptr_t handle_;
};

// What lock_file_posix.cpp and lock_file_win32.cpp provide.
namespace lock_system {
LockOwner ThisProcess();
bool Runs(std::int64_t pid, const std::string& program);
enum class Created { Yes, Exists, Failed };
// Creates path only if it does not exist, writes bytes and keeps it open.
Created CreateLock(const std::string& path, const std::string& bytes, std::intptr_t& handle);
// Removes a lock whose owner is gone, unless some process holds it open.
bool RemoveStaleLock(const std::string& path);
void ReleaseLock(const std::string& path, std::intptr_t handle);
}  // namespace lock_system

}  // namespace kxc2
