#include "export/tile_set.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "core/game_paths.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "export/bmp_reader.h"
#include "export/piece_layout.h"

namespace kxc2 {

namespace {

constexpr int kPaletteSize = 256;

QImage WithFullPalette(QImage image) {
  QList<QRgb> table = image.colorTable();
  if (table.size() > kPaletteSize) table.resize(kPaletteSize);
  while (table.size() < kPaletteSize) table.append(qRgb(0, 0, 0));
  image.setColorTable(table);
  return image;
}

}  // namespace

TileSet::TileSet(QImage image)
    : image_(WithFullPalette(image.convertToFormat(QImage::Format_Indexed8))), palette_(image_.colorTable()) {}

bool TileSet::contains(const QRect& rect) const { return image_.rect().contains(rect); }

std::optional<QRect> TileSet::tileRect(int terrain, int variant) const {
  if (terrain >= 0 && terrain < kTerrainCount) {
    const QRect own(kTileWidth * terrain, kTileHeight * variant, kTileWidth, kTileHeight);
    if (contains(own)) return own;
  }
  const QRect clear(0, 0, kTileWidth, kTileHeight);
  if (contains(clear)) return clear;
  return std::nullopt;
}

std::string TileSetFileName(bool winter) { return winter ? "WT50x45.bmp" : "ST50x45.bmp"; }

TileSet LoadTileSetFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  // Ordinary files only: opening a pipe would wait for a writer for ever.
  if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Cannot open file " + path);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw std::runtime_error("Cannot open file " + path);

  return TileSet(ReadIndexedBmp(
      {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())}, path));
}

TileSet BuiltinTileSet(bool winter) { return TileSet(winter ? WinterTilesPicture() : SummerTilesPicture()); }

TileSet LoadPainterTileSet(const std::string& programFolder, bool winter, const std::string& userFolder) {
  std::vector<std::string> folders{programFolder};
  if (!userFolder.empty()) folders.push_back(userFolder);
  for (const std::string& folder : folders) {
    const std::string path = ResolveNoCase(folder, TileSetFileName(winter));
    std::error_code error;
    if (std::filesystem::exists(path, error)) return LoadTileSetFile(path);
  }
  return BuiltinTileSet(winter);
}

}  // namespace kxc2
