#include "export/tile_set.h"

#include <QByteArray>
#include <QFile>
#include <cstdint>
#include <filesystem>
#include <stdexcept>

#include "core/game_paths.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "export/piece_layout.h"

namespace kxc2 {

namespace {

constexpr int kPaletteSize = 256;

// What the file's headers say, before Qt gets to see it.
struct BmpLayout {
  int bitCount = 0;
  int width = 0;
  int height = 0;
  std::uint32_t compression = 0;
  std::uint32_t pixelOffset = 0;
  std::uint32_t paletteOffset = 0;
  int paletteEntrySize = 4;
};

std::uint32_t Read16(const QByteArray& bytes, qsizetype at) {
  return static_cast<std::uint8_t>(bytes[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + 1])) << 8;
}

std::uint32_t Read32(const QByteArray& bytes, qsizetype at) { return Read16(bytes, at) | Read16(bytes, at + 2) << 16; }

[[noreturn]] void NotValid() { throw std::runtime_error("Bitmap image is not valid"); }

BmpLayout ReadLayout(const QByteArray& bytes) {
  constexpr qsizetype kFileHeader = 14;
  if (bytes.size() < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M') NotValid();
  BmpLayout layout;
  layout.pixelOffset = Read32(bytes, 10);
  const std::uint32_t infoSize = Read32(bytes, kFileHeader);
  layout.paletteOffset = kFileHeader + infoSize;
  if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes, 3-byte palette entries
    layout.width = static_cast<std::int16_t>(Read16(bytes, 18));
    layout.height = static_cast<std::int16_t>(Read16(bytes, 20));
    layout.bitCount = static_cast<int>(Read16(bytes, 24));
    layout.paletteEntrySize = 3;
  } else {
    if (infoSize < 40 || bytes.size() < kFileHeader + 40) NotValid();
    layout.width = static_cast<std::int32_t>(Read32(bytes, 18));
    layout.height = static_cast<std::int32_t>(Read32(bytes, 22));
    layout.bitCount = static_cast<int>(Read16(bytes, 28));
    layout.compression = Read32(bytes, 30);
  }
  if (layout.width <= 0 || layout.height == 0) NotValid();
  return layout;
}

// Qt fills the missing rows of a short file with garbage instead of failing.
void CheckPixelDataComplete(const QByteArray& bytes, const BmpLayout& layout) {
  constexpr std::uint32_t kRgb = 0, kBitFields = 3;
  if (layout.compression != kRgb && layout.compression != kBitFields) return;  // run-length data has no fixed size
  const std::uint64_t stride = (static_cast<std::uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
  const std::uint64_t rows = static_cast<std::uint64_t>(layout.height < 0 ? -static_cast<std::int64_t>(layout.height)
                                                                          : layout.height);
  if (static_cast<std::uint64_t>(bytes.size()) < layout.pixelOffset + rows * stride) NotValid();
}

QRgb FilePaletteEntry(const QByteArray& bytes, const BmpLayout& layout, int index) {
  const qsizetype at = layout.paletteOffset + static_cast<qsizetype>(index) * layout.paletteEntrySize;
  if (at + 3 > bytes.size()) return qRgb(0, 0, 0);
  return qRgb(static_cast<std::uint8_t>(bytes[at + 2]), static_cast<std::uint8_t>(bytes[at + 1]),
              static_cast<std::uint8_t>(bytes[at]));
}

// Qt gives a 1-bit file whose first colour is the darker one its colours
// swapped and its pixels inverted; put both back as the file has them.
QImage MonoAsFileIndexed(const QImage& mono, const QByteArray& bytes, const BmpLayout& layout) {
  QImage indexed = mono.convertToFormat(QImage::Format_Indexed8);
  const QList<QRgb> fileColours = {FilePaletteEntry(bytes, layout, 0), FilePaletteEntry(bytes, layout, 1)};
  if (indexed.colorCount() == 2 && indexed.colorTable() != fileColours) {
    for (int y = 0; y < indexed.height(); ++y) {
      uchar* row = indexed.scanLine(y);
      for (int x = 0; x < indexed.width(); ++x) row[x] = row[x] ? 0 : 1;
    }
  }
  indexed.setColorTable(fileColours);
  return indexed;
}

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
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("Cannot open file " + path);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw std::runtime_error("Cannot open file " + path);

  const BmpLayout layout = ReadLayout(bytes);
  CheckPixelDataComplete(bytes, layout);
  QImage image;
  if (!image.loadFromData(bytes, "BMP")) NotValid();

  if (layout.bitCount == 1 && image.format() == QImage::Format_Mono) return TileSet(MonoAsFileIndexed(image, bytes, layout));
  if ((layout.bitCount == 4 || layout.bitCount == 8) && image.format() == QImage::Format_Indexed8) return TileSet(image);
  throw std::runtime_error(path + " is not an 8-bit bitmap");
}

TileSet BuiltinTileSet(bool winter) { return TileSet(winter ? WinterTilesPicture() : SummerTilesPicture()); }

TileSet LoadPainterTileSet(const std::string& programFolder, bool winter) {
  const std::string path = ResolveNoCase(programFolder, TileSetFileName(winter));
  std::error_code error;
  if (std::filesystem::exists(path, error)) return LoadTileSetFile(path);
  return BuiltinTileSet(winter);
}

}  // namespace kxc2
