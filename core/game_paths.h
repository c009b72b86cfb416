#pragma once

#include <string>
#include <vector>

namespace kxc2 {

// The game's folders compare without regard to case; on a case-sensitive
// file system these find what is there whatever its case.

// base + name, with name's last component replaced by the existing entry of
// that name in any case (so "UserMap" finds "USERMAP"); unchanged when none
// exists. base is used as given: a value without a trailing separator joins
// directly, as the game folder's paths always have.
std::string ResolveNoCase(const std::string& base, const std::string& name);

// Matches a file name against a pattern of '*' and '?' without regard to
// (ASCII) case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// Full paths of the ordinary, not hidden files in folder whose names match
// pattern, sorted by name. A missing or unreadable folder gives none.
std::vector<std::string> MatchingFiles(const std::string& folder, const std::string& pattern);

// Deletes each file; failures are ignored.
void DeleteFilesQuietly(const std::vector<std::string>& paths);

// The path with a trailing separator.
std::string WithTrailingSeparator(const std::string& path);

}  // namespace kxc2
