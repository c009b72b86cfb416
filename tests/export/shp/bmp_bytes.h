#pragma once

#include <cstdint>
#include <vector>

#include "export/shp_indexed_bitmap.h"

namespace kxc2::test {

// A Windows BMP built byte by byte, so tests control depth, palette size and
// row order exactly, and can damage any part of it.
struct BmpLayout {
  int width = 0;
  int height = 0;  // rows stored bottom-up; topDown stores them top-down
  int bitsPerPixel = 8;
  bool topDown = false;
  std::vector<PaletteColour> palette;  // written as the colour table
  std::vector<std::uint8_t> indices;   // width * height, top row first
};

std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout);
// A 24-bit BMP of one colour.
std::vector<std::uint8_t> MakeBmp24(int width, int height);

}  // namespace kxc2::test
