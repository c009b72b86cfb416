#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kxc2 {

struct PaletteColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const PaletteColour&, const PaletteColour&) = default;
};

// An image as one palette index per pixel, the top row first, with a full
// 256-entry palette (entries the source did not define are black). This is
// what goes into a ShpFile and what comes out of one.
struct IndexedBitmap {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<std::uint8_t> pixels;  // width * height
  std::array<PaletteColour, 256> palette{};

  std::span<const std::uint8_t> row(std::size_t y) const { return {pixels.data() + y * width, width}; }
  std::span<std::uint8_t> row(std::size_t y) { return {pixels.data() + y * width, width}; }
};

}  // namespace kxc2
