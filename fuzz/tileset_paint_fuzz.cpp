// Any bytes as the painter's tile-set file: either one of the loader's three
// messages, or a tile set whose tiles all lie inside its image and which
// paints a full piece of a small map with its own palette. AddressSanitizer
// watches that no tile is read from outside the image.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "core/map_grid.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"
#include "fuzz/memory_file.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Every terrain the painter knows and some it does not, with rivers and
// roads running through the piece.
kxc2::MapGrid BusyGrid() {
  kxc2::MapGrid grid;
  for (int column = 0; column < kxc2::kGridColumns; ++column)
    for (int row = 0; row < kxc2::kGridRows; ++row) {
      grid.setTerrain(column, row, static_cast<std::uint8_t>((column * 7 + row * 3) % 20));
      grid.setRoadMask(column, row, static_cast<std::uint8_t>(column * 31 + row * 17));
    }
  grid.setTerrain(2, 2, 255);
  return grid;
}

std::optional<kxc2::TileSet> Load(const std::string& path) {
  try {
    return kxc2::LoadTileSetFile(path);
  } catch (const std::runtime_error& error) {
    const std::string message = error.what();
    Require(message == "Bitmap image is not valid" || message == path + " is not an 8-bit bitmap");
    return std::nullopt;
  }
}

void CheckTiles(const kxc2::TileSet& tiles) {
  Require(tiles.image().format() == kxc2::Image::Format_Indexed8);
  Require(tiles.palette().size() == 256 && tiles.image().colorTable() == tiles.palette());
  for (int terrain : {0, 1, 5, 16, 17, 255})
    for (int variant = 0; variant < tiles.variantCount(); ++variant)
      if (const auto rect = tiles.tileRect(terrain, variant))
        Require(rect->width() == kxc2::kTileWidth && rect->height() == kxc2::kTileHeight &&
                tiles.image().rect().contains(*rect));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kxc2::fuzz::MemoryFile file(data, size);
  const std::optional<kxc2::TileSet> tiles = Load(file.path());
  if (!tiles) return 0;
  CheckTiles(*tiles);

  std::mt19937 random(static_cast<std::uint32_t>(size));
  const kxc2::VariantGrid variants = kxc2::DrawVariants(random, tiles->variantCount());
  const kxc2::PictureSize size16x11 = kxc2::MapPictureSize(16, 11);
  const kxc2::Image piece = kxc2::PaintPiece(BusyGrid(), *tiles, variants, size16x11, 0, 0);
  Require(piece.size() == kxc2::Size(kxc2::kPieceWidth, kxc2::kPieceHeight));
  Require(piece.format() == kxc2::Image::Format_Indexed8 && piece.colorTable() == tiles->palette());
  return 0;
}
