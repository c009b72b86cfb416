#include "editing/lock_file.h"

#include <cctype>
#include <charconv>
#include <vector>

#include "core/os_files.h"

namespace kxc2 {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool StaleAt(const std::string& path) {
  const ClosingDescriptor fd(OpenForReading(path));
  std::vector<std::uint8_t> bytes;
  if (fd.get() < 0 || !ReadToEnd(fd.get(), bytes)) return false;
  const auto owner = ParseLockFile({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  return owner && IsStaleLock(*owner);
}

}  // namespace

std::string LockFileBytes(const LockOwner& owner) {
  std::string bytes = std::to_string(owner.pid) + '\n' + owner.program + '\n' + owner.host + '\n';
  if (owner.machineId) bytes += *owner.machineId + '\n' + owner.bootId + '\n';
  return bytes;
}

std::optional<LockOwner> ParseLockFile(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    lines.emplace_back(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  lines.resize(std::max<std::size_t>(lines.size(), 3));
  // Like QByteArray::toLongLong: blanks around it and a sign allowed.
  std::string_view pidText = Trimmed(lines[0]);
  if (!pidText.empty() && pidText.front() == '+') pidText.remove_prefix(1);
  LockOwner owner;
  const auto [end, error] = std::from_chars(pidText.data(), pidText.data() + pidText.size(), owner.pid);
  if (pidText.empty() || error != std::errc() || end != pidText.data() + pidText.size() || owner.pid <= 0)
    return std::nullopt;
  owner.program = lines[1];
  owner.host = std::string(Trimmed(lines[2]));
  if (lines.size() > 3) {
    owner.machineId = lines[3];
    if (lines.size() > 4) owner.bootId = lines[4];
  }
  return owner;
}

bool IsStaleLock(const LockOwner& owner) {
  const LockOwner self = lock_system::ThisProcess();
  if (owner.machineId) {
    if (*owner.machineId != self.machineId.value_or("")) return false;  // another machine's
    if (owner.bootId != self.bootId) return true;  // before a restart: its process is gone
  } else if (!owner.host.empty() && owner.host != self.host) {
    return false;
  }
  return !lock_system::Runs(owner.pid, owner.program);
}

std::unique_ptr<LockFile> LockFile::TryLock(const std::string& path) {
  const std::string bytes = LockFileBytes(lock_system::ThisProcess());
  for (int attempt = 0;; ++attempt) {
    std::intptr_t handle = -1;
    switch (lock_system::CreateLock(path, bytes, handle)) {
      case lock_system::Created::Yes: return std::unique_ptr<LockFile>(new LockFile(path, handle));
      case lock_system::Created::Failed: return nullptr;
      case lock_system::Created::Exists: break;
    }
    if (attempt > 0 || !StaleAt(path)) return nullptr;
    // As QLockFile does, so that two processes never both remove a stale
    // lock and one of them the lock the other has just taken.
    const auto removing = TryLock(path + ".rmlock");
    if (!removing || !StaleAt(path) || !lock_system::RemoveStaleLock(path)) return nullptr;
  }
}

LockFile::~LockFile() { lock_system::ReleaseLock(path_, handle_); }

}  // namespace kxc2
