#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kxc2 {

// Terrain codes the editor knows; a map file may carry any byte.
enum TerrainCode : int {
  kClear = 0,
  kCity = 1,
  kAirfield = 2,
  kForest = 3,
  kBocage = 4,
  kHill = 5,
  kMountain = 6,
  kSand = 7,
  kSwamp = 8,
  kOcean = 9,
  kRiver = 10,
  kFortification = 11,
  kPort = 12,
  kStream = 13,
  kEscarpment = 14,
  kImpassableRiver = 15,
  kRough = 16,
};
inline constexpr int kTerrainCount = 17;

// Terrain sets: bit n stands for code n.
inline constexpr std::uint32_t kRiverSet = 0x0000A400;
inline constexpr std::uint32_t kWaterSet = 0x0000A600;
inline constexpr std::uint32_t kRoadKeepSet = 0x0001FDFF;
inline constexpr std::uint32_t kRoadPaintSet = 0x0001FDF9;

constexpr bool InTerrainSet(std::uint32_t set, int code) {
  return code >= 0 && code < 32 && ((set >> code) & 1u) != 0;
}
constexpr bool IsInRiverSet(int code) { return InTerrainSet(kRiverSet, code); }
constexpr bool IsInWaterSet(int code) { return InTerrainSet(kWaterSet, code); }
constexpr bool IsInRoadKeepSet(int code) { return InTerrainSet(kRoadKeepSet, code); }
constexpr bool IsInRoadPaintSet(int code) { return InTerrainSet(kRoadPaintSet, code); }

// "00 Clear" .. "16 Rough"; code must be 0..16.
std::string_view TerrainListText(int code);

// "Clear" .. "Rough" for 0..16, nothing for any other code.
std::optional<std::string_view> DisplayName(int code);

// The header bar's name of any code: unknown codes read "Unknown (N)".
std::string DisplayNameOrUnknown(int code);

}  // namespace kxc2
