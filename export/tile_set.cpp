#include "export/tile_set.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/game_paths.h"
#include "core/os_files.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "export/bmp_reader.h"
#include "export/file_bytes.h"
#include "export/piece_layout.h"

namespace kxc2 {

namespace {

constexpr std::size_t kPaletteSize = 256;

Image WithFullPalette(Image image) {
  std::vector<Rgb> table = image.colorTable();
  table.resize(kPaletteSize, MakeRgb(0, 0, 0));
  image.setColorTable(std::move(table));
  return image;
}

}  // namespace

TileSet::TileSet(Image image)
    : image_(WithFullPalette(std::move(image))), palette_(image_.colorTable()) {}

bool TileSet::contains(const Rect& rect) const { return image_.rect().contains(rect); }

std::optional<Rect> TileSet::tileRect(int terrain, int variant) const {
  if (terrain >= 0 && terrain < kTerrainCount) {
    const Rect own(kTileWidth * terrain, kTileHeight * variant, kTileWidth, kTileHeight);
    if (contains(own)) return own;
  }
  const Rect clear(0, 0, kTileWidth, kTileHeight);
  if (contains(clear)) return clear;
  return std::nullopt;
}

std::string TileSetFileName(bool winter) { return winter ? "WT50x45.bmp" : "ST50x45.bmp"; }

TileSet LoadTileSetFile(const std::string& path) {
  const auto bytes = ReadOrdinaryFile(path);
  if (!bytes) throw std::runtime_error("Cannot open file " + path);
  return TileSet(ReadIndexedBmp(*bytes, path));
}

TileSet BuiltinTileSet(bool winter) { return TileSet(winter ? WinterTilesPicture() : SummerTilesPicture()); }

TileSet LoadPainterTileSet(const std::string& programFolder, bool winter, const std::string& userFolder) {
  std::vector<std::string> folders{programFolder};
  if (!userFolder.empty()) folders.push_back(userFolder);
  for (const std::string& folder : folders) {
    const std::string path = ResolveNoCase(folder, TileSetFileName(winter));
    if (KindOf(path) != FileKind::Missing) return LoadTileSetFile(path);
  }
  return BuiltinTileSet(winter);
}

}  // namespace kxc2
