#include "core/game_paths.h"

#include <algorithm>
#include <unistd.h>
#include <dirent.h>
#include <sys/stat.h>

namespace kxc2 {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Names in folder, "." and ".." left out; none when it cannot be read.
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

bool IsOrdinaryFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool MatchFrom(const char* pattern, const char* name) {
  // Iterative '*' matching: remember the last star and retry from there.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && LowerAscii(*pattern) == LowerAscii(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

}  // namespace

std::string ResolveNoCase(const std::string& base, const std::string& name) {
  const std::string joined = base + name;
  const auto slash = joined.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "" : joined.substr(0, slash + 1);
  const std::string leaf = joined.substr(folder.size());
  struct stat info {};
  if (leaf.empty() || ::lstat(joined.c_str(), &info) == 0) return joined;
  for (const std::string& candidate : FolderNames(folder))
    if (EqualNoCase(candidate, leaf)) return folder + candidate;
  return joined;
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  return MatchFrom(pattern.c_str(), name.c_str());
}

std::vector<std::string> MatchingFiles(const std::string& folder, const std::string& pattern) {
  const std::string prefix = WithTrailingSeparator(folder);
  std::vector<std::string> paths;
  for (const std::string& name : FolderNames(folder)) {
    if (name[0] == '.' || !WildcardMatch(pattern, name)) continue;
    if (IsOrdinaryFile(prefix + name)) paths.push_back(prefix + name);
  }
  return paths;
}

void DeleteFilesQuietly(const std::vector<std::string>& paths) {
  // unlink, not remove: an empty folder of a matching name must stay.
  for (const std::string& path : paths) ::unlink(path.c_str());
}

std::string WithTrailingSeparator(const std::string& path) {
  if (!path.empty() && path.back() == '/') return path;
  return path + "/";
}

}  // namespace kxc2
