#include "editing/recent_maps.h"

#include <algorithm>

namespace kxc2 {
namespace {

std::string KeyOf(std::size_t index) { return "File" + std::to_string(index + 1); }

}  // namespace

RecentMaps RecentMaps::Read(const IniFile& settings) {
  RecentMaps recent;
  for (std::size_t i = 0; i < kLimit; ++i) {
    const std::string path = settings.readString(kSection, KeyOf(i), "");
    // A hand-edited file may leave gaps or list a map twice.
    if (!path.empty() && std::find(recent.paths_.begin(), recent.paths_.end(), path) == recent.paths_.end())
      recent.paths_.push_back(path);
  }
  return recent;
}

void RecentMaps::writeInto(IniFile& settings) const {
  for (std::size_t i = 0; i < kLimit; ++i)
    settings.writeString(kSection, KeyOf(i), i < paths_.size() ? paths_[i] : std::string());
}

void RecentMaps::add(const std::string& path) {
  remove(path);
  paths_.insert(paths_.begin(), path);
  if (paths_.size() > kLimit) paths_.resize(kLimit);
}

void RecentMaps::remove(const std::string& path) {
  paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
}

}  // namespace kxc2
