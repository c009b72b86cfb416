#include "launcher/posix_names.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

namespace kxc2 {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Spellings of name present in folder, sorted, the exact one first.
std::vector<std::string> SpellingsIn(const std::string& folder, std::string_view name) {
  std::vector<std::string> found;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  while (const dirent* entry = readdir(dir)) {
    if (EqualIgnoringCase(entry->d_name, name)) found.emplace_back(entry->d_name);
  }
  closedir(dir);
  std::sort(found.begin(), found.end(), [name](const std::string& a, const std::string& b) {
    if ((a == name) != (b == name)) return a == name;
    return a < b;
  });
  return found;
}

std::optional<std::string> FirstSpelling(const std::string& folder, std::string_view name,
                                         const std::function<bool(const struct stat&)>& accept) {
  for (const std::string& spelling : SpellingsIn(folder, name)) {
    struct stat info {};
    if (stat(JoinPath(folder, spelling).c_str(), &info) == 0 && accept(info)) return spelling;
  }
  return std::nullopt;
}

bool IsHidden(std::string_view name) { return !name.empty() && name.front() == '.'; }

}  // namespace

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::optional<std::string> FindVisibleEntry(const std::string& folder, std::string_view name) {
  if (IsHidden(name)) return std::nullopt;
  return FirstSpelling(folder, name, [](const struct stat& info) {
    return S_ISDIR(info.st_mode) || S_ISREG(info.st_mode);
  });
}

std::optional<std::string> SearchFile(const std::vector<std::string>& folders,
                                      std::string_view name) {
  for (const std::string& folder : folders) {
    const auto spelling =
        FirstSpelling(folder, name, [](const struct stat& info) { return S_ISREG(info.st_mode); });
    if (spelling) return JoinPath(folder, *spelling);
  }
  return std::nullopt;
}

std::vector<std::string> SplitSearchPath(std::string_view path) {
  std::vector<std::string> folders;
  while (!path.empty()) {
    const std::size_t colon = path.find(':');
    const std::string_view folder = path.substr(0, colon);
    if (!folder.empty()) folders.emplace_back(folder);
    if (colon == std::string_view::npos) break;
    path.remove_prefix(colon + 1);
  }
  return folders;
}

std::optional<std::string> FindProgramOnPath(std::string_view path, std::string_view name) {
  for (const std::string& folder : SplitSearchPath(path)) {
    const std::string candidate = JoinPath(folder, std::string(name));
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::nullopt;
}

}  // namespace kxc2
