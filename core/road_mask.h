#pragma once

#include <array>
#include <cstdint>

namespace kxc2 {

// RoadMask bits; bits 2 and 6 carry no direction.
inline constexpr std::uint8_t kRoadNorth = 1;
inline constexpr std::uint8_t kRoadNorthEast = 2;
inline constexpr std::uint8_t kRoadSouthEast = 8;
inline constexpr std::uint8_t kRoadSouth = 16;
inline constexpr std::uint8_t kRoadSouthWest = 32;
inline constexpr std::uint8_t kRoadNorthWest = 128;

// The bit of Road1..Road6, in box order.
inline constexpr std::array<std::uint8_t, 6> kRoadBoxBits = {
    kRoadNorth, kRoadNorthEast, kRoadSouthEast, kRoadSouth, kRoadSouthWest, kRoadNorthWest};

}  // namespace kxc2
