#include "tests/export/painter/painter_fixtures.h"

#include <array>

#include "tests/support/temp_dir.h"

namespace kxc2::test {

namespace {

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  Put16(bytes, at, value & 0xFFFF);
  Put16(bytes, at + 2, value >> 16);
}
std::uint32_t Get16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes.at(at) | static_cast<std::uint32_t>(bytes.at(at + 1)) << 8;
}
std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return Get16(bytes, at) | Get16(bytes, at + 2) << 16;
}

constexpr std::array<int, 14> kDryTerrains = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 14, 16};

}  // namespace

std::uint8_t PatternIndex(int terrain, int variant, int x, int y) {
  return static_cast<std::uint8_t>((x + 45 * y + 11 * terrain + 97 * variant) % 241);
}

Image PatternedTiles(int variants, int width) {
  Image tiles(width, 50 * variants, Image::Format_Indexed8);
  std::vector<Rgb> palette;
  for (int i = 0; i < 256; ++i) palette.push_back(MakeRgb(i, (i * 7) % 256, 255 - i));
  palette[kPatternRiverIndex] = MakeRgb(124, 144, 164);
  palette[kPatternRoadIndex] = MakeRgb(248, 224, 100);
  tiles.setColorTable(palette);
  for (int y = 0; y < tiles.height(); ++y)
    for (int x = 0; x < width; ++x) tiles.setPixel(x, y, PatternIndex(x / 45, y / 50, x % 45, y % 50));
  return tiles;
}

std::vector<std::uint8_t> BmpFileBytes(int width, int height, int bitCount, const std::vector<Rgb>& palette,
                                       const std::vector<std::uint32_t>& pixels) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bitCount + 31) / 32 * 4;
  const std::uint32_t paletteBytes = bitCount <= 8 ? 4 * static_cast<std::uint32_t>(palette.size()) : 0;
  const std::uint32_t offset = 54 + paletteBytes;
  std::vector<std::uint8_t> bytes(offset + stride * height, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
  Put32(bytes, 10, offset);
  Put32(bytes, 14, 40);
  Put32(bytes, 18, width);
  Put32(bytes, 22, height);
  Put16(bytes, 26, 1);
  Put16(bytes, 28, bitCount);
  Put32(bytes, 34, stride * height);
  Put32(bytes, 46, bitCount <= 8 ? palette.size() : 0);
  for (std::size_t i = 0; bitCount <= 8 && i < palette.size(); ++i) {
    bytes[54 + 4 * i] = BlueOf(palette[i]);
    bytes[55 + 4 * i] = GreenOf(palette[i]);
    bytes[56 + 4 * i] = RedOf(palette[i]);
  }
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bytes.data() + offset + stride * (height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t value = pixels[y * width + x];
      switch (bitCount) {
        case 1: row[x / 8] |= static_cast<std::uint8_t>((value & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<std::uint8_t>((value & 15) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<std::uint8_t>(value); break;
        default:
          row[3 * x] = value & 0xFF;
          row[3 * x + 1] = (value >> 8) & 0xFF;
          row[3 * x + 2] = (value >> 16) & 0xFF;
      }
    }
  }
  return bytes;
}

void WriteBmpFile(const std::filesystem::path& path, const Image& indexed8) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < indexed8.height(); ++y)
    for (int x = 0; x < indexed8.width(); ++x) pixels.push_back(indexed8.pixelIndex(x, y));
  WriteBytes(path, BmpFileBytes(indexed8.width(), indexed8.height(), 8, indexed8.colorTable(), pixels));
}

BmpHeader ReadBmpHeader(const std::vector<std::uint8_t>& bytes) {
  BmpHeader header;
  header.fileSize = Get32(bytes, 2);
  header.pixelOffset = Get32(bytes, 10);
  header.width = static_cast<std::int32_t>(Get32(bytes, 18));
  header.height = static_cast<std::int32_t>(Get32(bytes, 22));
  header.bitCount = static_cast<std::uint16_t>(Get16(bytes, 28));
  header.compression = Get32(bytes, 30);
  header.coloursUsed = Get32(bytes, 46);
  return header;
}

std::vector<Rgb> ReadBmpPalette(const std::vector<std::uint8_t>& bytes) {
  std::vector<Rgb> palette;
  for (std::size_t i = 0; i < 256; ++i)
    palette.push_back(MakeRgb(bytes.at(56 + 4 * i), bytes.at(55 + 4 * i), bytes.at(54 + 4 * i)));
  return palette;
}

std::vector<std::uint8_t> ReadBmpPixels8(const std::vector<std::uint8_t>& bytes) {
  const BmpHeader header = ReadBmpHeader(bytes);
  const std::size_t stride = (static_cast<std::size_t>(header.width) + 3) / 4 * 4;
  std::vector<std::uint8_t> pixels;
  for (int y = header.height - 1; y >= 0; --y)
    for (int x = 0; x < header.width; ++x) pixels.push_back(bytes.at(header.pixelOffset + stride * y + x));
  return pixels;
}

MapGrid TilesOnlyGrid() {
  MapGrid grid;
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      grid.setTerrain(column, row, static_cast<std::uint8_t>(kDryTerrains[(3 * column + 5 * row) % 14]));
  return grid;
}

CoveringTile TileAt(int x, int y) {
  CoveringTile tile;
  tile.column = (x + 37) / 45;
  tile.dx = x + 37 - 45 * tile.column;
  const int top = tile.column % 2 == 0 ? y + 25 : y;
  tile.row = top / 50;
  tile.dy = top - 50 * tile.row;
  return tile;
}

}  // namespace kxc2::test
