#include "core/os_files.h"

#include <algorithm>

namespace kxc2 {

bool IsPathSeparator(char c) {
#ifdef _WIN32
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

std::size_t LastSeparator(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i)
    if (IsPathSeparator(path[i - 1])) return i - 1;
  return std::string::npos;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = LastSeparator(path);
  if (slash == std::string::npos) return ".";
  return path.substr(0, slash == 0 ? 1 : slash);
}

// On POSIX a path is bytes and stays so; on Windows the library converts
// between UTF-8 and the system's wide characters.
std::filesystem::path FsPath(const std::string& path) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
#else
  return std::filesystem::path(path);
#endif
}

std::string Utf8Path(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

// One read of the expected size (and one more to see the end) where the
// size is known: reading piece by piece into a growing buffer cost more
// than the conversion of a whole picture.
bool ReadToEnd(int fd, std::vector<std::uint8_t>& bytes) {
  std::size_t used = bytes.size();
  bytes.resize(used + std::max<std::uint64_t>(SizeHintOfOpen(fd) + 1, 65536));
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() * 2);
    const long got = ReadSome(fd, bytes.data() + used, bytes.size() - used);
    if (got <= 0) {
      bytes.resize(used);
      return got == 0;
    }
    used += static_cast<std::size_t>(got);
  }
}

}  // namespace kxc2
