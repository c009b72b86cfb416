#include "draw/builtin_pictures.h"

#include <algorithm>

namespace kxc2::embedded {
extern const std::uint8_t kMapTilesBmp[];
extern const unsigned kMapTilesBmpSize;
extern const std::uint8_t kMapTiles2Bmp[];
extern const unsigned kMapTiles2BmpSize;
extern const std::uint8_t kSUMMERTILESBmp[];
extern const unsigned kSUMMERTILESBmpSize;
extern const std::uint8_t kWINTERTILESBmp[];
extern const unsigned kWINTERTILESBmpSize;
}  // namespace kxc2::embedded

namespace kxc2 {
namespace {

std::uint32_t Le32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}

// The committed pictures are all of one kind (tested): 8 bits, no
// compression, rows bottom-up, the colour table right after a 40-byte header.
Image DecodePicture(std::span<const std::uint8_t> bytes) {
  const auto width = static_cast<int>(Le32(bytes, 18));
  const auto height = static_cast<int>(Le32(bytes, 22));
  const std::uint32_t used = Le32(bytes, 46);
  const std::size_t colours = used == 0 ? 256 : used;
  std::vector<Rgb> table(colours);
  for (std::size_t i = 0; i < colours; ++i) {
    const std::uint8_t* entry = bytes.data() + 54 + 4 * i;
    table[i] = MakeRgb(entry[2], entry[1], entry[0]);
  }
  Image image(width, height, Image::Format_Indexed8);
  image.setColorTable(std::move(table));
  const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
  const std::uint8_t* pixels = bytes.data() + Le32(bytes, 10);
  for (int y = 0; y < height; ++y)
    std::copy_n(pixels + stride * static_cast<std::size_t>(height - 1 - y), width, image.scanLine(y));
  return image;
}

}  // namespace

std::span<const std::uint8_t> MapTilesBmp() { return {embedded::kMapTilesBmp, embedded::kMapTilesBmpSize}; }
std::span<const std::uint8_t> MapTiles2Bmp() { return {embedded::kMapTiles2Bmp, embedded::kMapTiles2BmpSize}; }
std::span<const std::uint8_t> SummerTilesBmp() { return {embedded::kSUMMERTILESBmp, embedded::kSUMMERTILESBmpSize}; }
std::span<const std::uint8_t> WinterTilesBmp() { return {embedded::kWINTERTILESBmp, embedded::kWINTERTILESBmpSize}; }

Image MapTilesPicture() { return DecodePicture(MapTilesBmp()); }
Image MapTiles2Picture() { return DecodePicture(MapTiles2Bmp()); }
Image SummerTilesPicture() { return DecodePicture(SummerTilesBmp()); }
Image WinterTilesPicture() { return DecodePicture(WinterTilesBmp()); }

}  // namespace kxc2
