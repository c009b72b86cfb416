#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "core/file_call_watcher.h"
#include "core/os_files.h"

namespace kxc2 {
namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// The errno value of the thread's last Windows error, as the C runtime
// would give it, so the messages are those of the POSIX build.
int ErrnoOfLastError() {
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME: return ENOENT;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    default: return EIO;
  }
}

FileKind KindOfAttributes(DWORD attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    errno = ErrnoOfLastError();
    return FileKind::Missing;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::Regular;
}

}  // namespace

std::string Utf8FromWide(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating NUL
  return utf8;
}

namespace {
UINT savedOutputCodePage = 0;
void RestoreConsole() { ::SetConsoleOutputCP(savedOutputCodePage); }
}  // namespace

void UseUtf8Console() {
  savedOutputCodePage = ::GetConsoleOutputCP();
  if (savedOutputCodePage == 0 || savedOutputCodePage == CP_UTF8) return;  // no console, or already so
  ::SetConsoleOutputCP(CP_UTF8);
  std::atexit(RestoreConsole);
}

// Attributes rather than the C runtime's stat: they take a folder with a
// trailing separator, as the tool's paths often have.
FileKind KindOf(const std::string& path) { return KindOfAttributes(::GetFileAttributesW(Wide(path).c_str())); }

bool NameExists(const std::string& path) { return KindOf(path) != FileKind::Missing; }

bool MayWrite(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (KindOfAttributes(attributes) == FileKind::Missing) return false;
  // On a folder the flag means something else; a folder is refused later.
  if (!(attributes & FILE_ATTRIBUTE_READONLY) || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  errno = EACCES;
  return false;
}

// A folder's read-only flag says nothing about making files in it (Program
// Files has none, yet refuses them): a file is made and removed.
bool FolderTakesNewFiles(const std::string& folder) {
  const std::string probe = folder + "kxc2-probe.tmp";
  const int fd = CreateNewFile(probe);
  if (fd < 0) return false;
  CloseFile(fd);
  RemoveFile(probe);
  return true;
}

// A folder cannot be opened here at all; it is named as the POSIX build names it.
int OpenForReading(const std::string& path) {
  const int fd = ::_wopen(Wide(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0 && errno == EACCES && KindOf(path) == FileKind::Folder) errno = EISDIR;
  return fd;
}

int CreateNewFile(const std::string& path) {
  return ::_wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

FileKind KindOfOpen(int fd) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) {
    errno = EBADF;
    return FileKind::Missing;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(handle) != FILE_TYPE_DISK) return FileKind::Other;
  if (!::GetFileInformationByHandle(handle, &info)) return KindOfAttributes(INVALID_FILE_ATTRIBUTES);
  return KindOfAttributes(info.dwFileAttributes);
}

long ReadSome(int fd, void* into, std::size_t size) {
  return ::_read(fd, into, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

long WriteSome(int fd, const void* from, std::size_t size) {
  if (WatcherFails(FileCall::Write)) return -1;
  return ::_write(fd, from, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}

std::uint64_t SizeHintOfOpen(int fd) {
  const __int64 size = ::_filelengthi64(fd);
  return size > 0 ? static_cast<std::uint64_t>(size) : 0;
}

bool SyncFile(int fd) { return !WatcherFails(FileCall::SyncFile) && ::_commit(fd) == 0; }

bool CloseFile(int fd) { return ::_close(fd) == 0; }

// Replacing keeps the old file's attributes and security; nothing to copy.
bool CopyPermissions(const std::string&, int) { return true; }

namespace {

// Wine's ReplaceFileW refuses relative names.
std::wstring FullPath(const std::string& path) {
  const std::wstring wide = Wide(path);
  const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return wide;
  full.resize(written);
  return full;
}

}  // namespace

// ReplaceFileW swaps the new file in under the old one's name and keeps the
// old one's attributes; a new name needs a move. Both complete on disk
// before they return.
bool MoveOverFile(const std::string& from, const std::string& to) {
  if (WatcherFails(FileCall::Move, to)) return false;
  const std::wstring source = FullPath(from);
  const std::wstring target = FullPath(to);
  const bool replaced =
      ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES
          ? ::ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
          : ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!replaced) errno = ErrnoOfLastError();
  return replaced;
}

// The move above was written through; a watcher still sees the request.
void SyncFolder(const std::string& folder) { WatcherFails(FileCall::SyncFolder, folder); }

bool RemoveFile(const std::string& path) { return ::_wunlink(Wide(path).c_str()) == 0; }

bool MakeFolder(const std::string& path) { return ::_wmkdir(Wide(path).c_str()) == 0; }

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::wstring pattern = Wide(folder.empty() ? "." : folder);
  if (!IsPathSeparator(folder.empty() ? '.' : folder.back())) pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW entry{};
  const HANDLE search = ::FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = Utf8FromWide(entry.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (::FindNextFileW(search, &entry));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD size = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (size == 0) return "./";
    if (size < path.size()) {
      path.resize(size);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::string self = Utf8FromWide(path.c_str());
  const std::size_t slash = LastSeparator(self);
  return slash == std::string::npos ? "./" : self.substr(0, slash + 1);
}

// A console, not any character device: _isatty() also says yes to NUL.
bool StandardInputIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

}  // namespace kxc2
