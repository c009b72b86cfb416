#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"

namespace kxc2::test {

// A tile set of 17 tiles across and variants * 50 pixels down whose every
// pixel tells where it came from: index (x + 45 y + 11 t + 97 v) mod 241,
// so a shift of one pixel, another terrain or another variant shows. Indices
// 241..255 never occur in tiles; 250 and 251 hold the painter's river and
// road colours exactly.
Image PatternedTiles(int variants, int width = 765);
inline constexpr int kPatternRiverIndex = 250;
inline constexpr int kPatternRoadIndex = 251;
std::uint8_t PatternIndex(int terrain, int variant, int x, int y);

// A Windows bitmap file written byte by byte, independent of the code under
// test: bitCount 1, 4, 8 or 24; pixels are palette indices (or 0xRRGGBB for
// 24 bits), top row first.
std::vector<std::uint8_t> BmpFileBytes(int width, int height, int bitCount, const std::vector<Rgb>& palette,
                                       const std::vector<std::uint32_t>& pixels);
void WriteBmpFile(const std::filesystem::path& path, const Image& indexed8);

// Fields of a BMP file header as stored.
struct BmpHeader {
  std::uint32_t fileSize = 0;
  std::uint32_t pixelOffset = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
};
BmpHeader ReadBmpHeader(const std::vector<std::uint8_t>& bytes);
// The 256 palette entries stored after the header.
std::vector<Rgb> ReadBmpPalette(const std::vector<std::uint8_t>& bytes);
// Palette indices of an 8-bit file, top row first.
std::vector<std::uint8_t> ReadBmpPixels8(const std::vector<std::uint8_t>& bytes);

// A grid whose terrain varies from hex to hex, without river terrain and
// without roads, so that only tiles show.
MapGrid TilesOnlyGrid();

// Which tile covers MapPicture pixel (x, y), by the picture's own geometry
// (tile of column c at x = 45 c - 37, y = 50 r - 25 for even c, 50 r for odd).
struct CoveringTile {
  int column = 0;
  int row = 0;
  int dx = 0;  // position inside the tile
  int dy = 0;
};
CoveringTile TileAt(int x, int y);

}  // namespace kxc2::test
