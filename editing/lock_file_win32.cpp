#include <windows.h>

#include "core/os_files.h"
#include "editing/lock_file.h"

namespace kxc2::lock_system {
namespace {

// The executable's name without its folder and extension, as QLockFile
// records it on Windows.
std::string ProgramName(const wchar_t* path) {
  std::string name = Utf8FromWide(path);
  name.erase(0, LastSeparator(name) + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::optional<std::string> ProgramOf(HANDLE process) {
  wchar_t path[MAX_PATH * 4];
  DWORD size = sizeof path / sizeof path[0];
  if (!::QueryFullProcessImageNameW(process, 0, path, &size)) return std::nullopt;
  return ProgramName(path);
}

std::string MachineGuid() {
  wchar_t guid[64] = {};
  DWORD size = sizeof guid;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                     RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, guid, &size) != ERROR_SUCCESS)
    return {};
  return Utf8FromWide(guid);
}

}  // namespace

LockOwner ThisProcess() {
  LockOwner self;
  self.pid = ::GetCurrentProcessId();
  self.program = ProgramOf(::GetCurrentProcess()).value_or("");
  wchar_t host[256] = {};
  DWORD size = sizeof host / sizeof host[0];
  if (::GetComputerNameExW(ComputerNameDnsHostname, host, &size)) self.host = Utf8FromWide(host);
  self.machineId = MachineGuid();
  return self;  // Windows has no boot id for it
}

bool Runs(std::int64_t pid, const std::string& program) {
  const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
  if (!process) return ::GetLastError() == ERROR_ACCESS_DENIED;  // another user's
  const bool runs = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  const auto running = ProgramOf(process);
  ::CloseHandle(process);
  return runs && running && *running == program;
}

Created CreateLock(const std::string& path, const std::string& bytes, std::intptr_t& handle) {
  // Shared for reading only: while it is open no one else deletes it.
  const HANDLE file = ::CreateFileW(FsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    switch (::GetLastError()) {
      case ERROR_FILE_EXISTS:
      case ERROR_ALREADY_EXISTS:
      case ERROR_SHARING_VIOLATION: return Created::Exists;
      case ERROR_ACCESS_DENIED:  // a lock being removed, when the folder is there
        return KindOf(FolderOf(path)) == FileKind::Folder ? Created::Exists : Created::Failed;
      default: return Created::Failed;
    }
  }
  DWORD written = 0;
  if (!::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) || written != bytes.size() ||
      !::FlushFileBuffers(file)) {
    ::CloseHandle(file);
    ::DeleteFileW(FsPath(path).c_str());
    return Created::Failed;
  }
  handle = reinterpret_cast<std::intptr_t>(file);
  return Created::Yes;
}

bool RemoveStaleLock(const std::string& path) { return ::DeleteFileW(FsPath(path).c_str()) != 0; }

void ReleaseLock(const std::string& path, std::intptr_t handle) {
  ::CloseHandle(reinterpret_cast<HANDLE>(handle));
  ::DeleteFileW(FsPath(path).c_str());
}

}  // namespace kxc2::lock_system
