#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The operating system's file calls on UTF-8 paths, alike on POSIX and on
// Windows (where they go through the wide-character API). Failures leave
// their reason in errno, so every caller reports the same texts on both.

namespace kxc2 {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

bool IsPathSeparator(char c);
// The position of the last separator; npos without one.
std::size_t LastSeparator(const std::string& path);
// The folder a path names its file in: "." without a separator, the root
// for a file there.
std::string FolderOf(const std::string& path);

std::filesystem::path FsPath(const std::string& path);
std::string Utf8Path(const std::filesystem::path& path);

enum class FileKind { Missing, Regular, Folder, Other };

// What path names, links followed; Missing sets errno.
FileKind KindOf(const std::string& path);
// Whether the name itself is there, even as a link that leads nowhere.
bool NameExists(const std::string& path);
// Whether an existing file may be written; false sets errno.
bool MayWrite(const std::string& path);
// Whether new files may be made in the folder (which ends in a separator).
bool FolderTakesNewFiles(const std::string& folder);

// A descriptor for reading, or -1. Opening never waits (a pipe under the
// name would otherwise hang the program).
int OpenForReading(const std::string& path);
// A new file that did not exist before, for writing, or -1.
int CreateNewFile(const std::string& path);
// What an open descriptor refers to; Missing sets errno.
FileKind KindOfOpen(int fd);
// Bytes read or written (0 only at the end of a file), or -1; interrupted
// calls are retried.
long ReadSome(int fd, void* into, std::size_t size);
long WriteSome(int fd, const void* from, std::size_t size);
// Reads an open file to its end, after what bytes holds; false sets errno.
bool ReadToEnd(int fd, std::vector<std::uint8_t>& bytes);
// The size of an open file, 0 when unknown; only a hint for reading.
std::uint64_t SizeHintOfOpen(int fd);
bool SyncFile(int fd);
bool CloseFile(int fd);

// Closes a descriptor (if any) on every way out of a scope.
class ClosingDescriptor {
 public:
  explicit ClosingDescriptor(int fd) : fd_(fd) {}
  ~ClosingDescriptor() {
    if (fd_ >= 0) CloseFile(fd_);
  }
  ClosingDescriptor(const ClosingDescriptor&) = delete;
  ClosingDescriptor& operator=(const ClosingDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Gives fd the permissions of the file at path, as a replaced file keeps its own.
bool CopyPermissions(const std::string& path, int fd);
// Moves from over to, replacing a file there in one step.
bool MoveOverFile(const std::string& from, const std::string& to);
// Makes a completed rename in folder durable where the system needs that.
void SyncFolder(const std::string& folder);
bool RemoveFile(const std::string& path);
bool MakeFolder(const std::string& path);
// The names in folder, "." and ".." left out, sorted; none when it cannot be read.
std::vector<std::string> FolderNames(const std::string& folder);

// The running program's folder, with a trailing separator; "./" when unknown.
std::string ProgramFolder();
bool StandardInputIsTerminal();

#ifdef _WIN32
std::string Utf8FromWide(const wchar_t* text);
// Lets a console show the UTF-8 the program writes; restored at exit.
void UseUtf8Console();
#endif

}  // namespace kxc2
