#pragma once

#include <string>
#include <vector>

#include "editing/ini_file.h"

namespace kxc2 {

// The maps last opened or saved, newest first, kept in the settings file
// under a section of their own (File1 to File8); every other line of the
// file stays as it is.
class RecentMaps {
 public:
  static constexpr std::size_t kLimit = 8;
  static constexpr const char* kSection = "Recent Maps";

  static RecentMaps Read(const IniFile& settings);
  // Writes all eight keys, empty ones included, so no stale entry survives.
  void writeInto(IniFile& settings) const;

  // To the front; a path already listed moves there, the ninth drops off.
  void add(const std::string& path);
  void remove(const std::string& path);

  const std::vector<std::string>& paths() const { return paths_; }

 private:
  std::vector<std::string> paths_;
};

}  // namespace kxc2
