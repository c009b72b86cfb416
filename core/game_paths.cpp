#include "core/game_paths.h"

#include <algorithm>

#include "core/os_files.h"

namespace kxc2 {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
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
  const auto slash = LastSeparator(joined);
  const std::string folder = slash == std::string::npos ? "" : joined.substr(0, slash + 1);
  const std::string leaf = joined.substr(folder.size());
  if (leaf.empty()) return joined;
#ifndef _WIN32
  // Windows finds the name in any case; only the listing gives the entry's own.
  if (NameExists(joined)) return joined;
#endif
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
    if (KindOf(prefix + name) == FileKind::Regular) paths.push_back(prefix + name);
  }
  return paths;
}

void DeleteFilesQuietly(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) RemoveFile(path);
}

std::string WithTrailingSeparator(const std::string& path) {
  if (!path.empty() && IsPathSeparator(path.back())) return path;
  return path + kPathSeparator;
}

}  // namespace kxc2
