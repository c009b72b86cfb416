#include "core/terrain.h"

#include <array>

namespace kxc2 {
namespace {

constexpr std::array<std::string_view, kTerrainCount> kListTexts = {
    "00 Clear",    "01 City",          "02 Airfield",  "03 Forest",         "04 Bocage",
    "05 Hill",     "06 Mountain",      "07 Sand",      "08 Swamp",          "09 Ocean",
    "10 River",    "11 Fortification", "12 Port",      "13 Stream",         "14 Escarpment",
    "15 Impassable River",             "16 Rough",
};

// The list text from its 4th character on, at most 20 characters.
constexpr std::size_t kNameStart = 3;
constexpr std::size_t kNameLength = 20;

}  // namespace

std::string_view TerrainListText(int code) { return kListTexts.at(static_cast<std::size_t>(code)); }

std::optional<std::string_view> DisplayName(int code) {
  if (code < 0 || code >= kTerrainCount) return std::nullopt;
  return TerrainListText(code).substr(kNameStart, kNameLength);
}

std::string DisplayNameOrUnknown(int code) {
  if (auto name = DisplayName(code)) return std::string(*name);
  return "Unknown (" + std::to_string(code) + ")";
}

}  // namespace kxc2
