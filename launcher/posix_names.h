#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxc2 {

// The game's file system compares names without regard to case (ASCII only,
// as the game's names are).
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// The entry of folder called name in any case that is a folder or an ordinary
// file (links followed) and not hidden: names starting with "." are hidden.
// An exact match wins; among other spellings the lowest in byte order.
std::optional<std::string> FindVisibleEntry(const std::string& folder, std::string_view name);

// The ordinary file called name in any case in the first folder of folders
// that has one, as folder + "/" + actual name.
std::optional<std::string> SearchFile(const std::vector<std::string>& folders,
                                      std::string_view name);

// The folders of a PATH value, in order; empty elements are skipped, since
// the current folder is searched on its own.
std::vector<std::string> SplitSearchPath(std::string_view path);

// The executable file called name (exact case) in the folders of a PATH value.
std::optional<std::string> FindProgramOnPath(std::string_view path, std::string_view name);

}  // namespace kxc2
