#include "export/shp_source_bitmap.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <algorithm>
#include <filesystem>

#include "export/bmp_reader.h"
#include "export/shp_file.h"

namespace kxc2 {

namespace {

PaletteColour FromRgb(QRgb colour) {
  return {static_cast<std::uint8_t>(qRed(colour)), static_cast<std::uint8_t>(qGreen(colour)),
          static_cast<std::uint8_t>(qBlue(colour))};
}

// indexed comes from ReadIndexedBmp: Indexed8 with 256 colours.
IndexedBitmap ToIndexedBitmap(const QImage& indexed) {
  IndexedBitmap bitmap;
  bitmap.width = static_cast<std::size_t>(indexed.width());
  bitmap.height = static_cast<std::size_t>(indexed.height());
  bitmap.pixels.resize(bitmap.width * bitmap.height);
  for (std::size_t y = 0; y < bitmap.height; ++y) {
    const uchar* line = indexed.constScanLine(static_cast<int>(y));
    std::uint8_t* out = bitmap.row(y).data();
    std::copy(line, line + bitmap.width, out);
  }
  const QList<QRgb> table = indexed.colorTable();
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(table.size()), bitmap.palette.size());
  for (std::size_t i = 0; i < count; ++i) bitmap.palette[i] = FromRgb(table[static_cast<qsizetype>(i)]);
  return bitmap;
}

}  // namespace

IndexedBitmap DecodeBitmapForShp(std::span<const std::uint8_t> bytes, const std::string& name) {
  try {
    // The side limit comes before the pixel data is looked at.
    const BmpHeader header = ReadIndexedBmpHeader(bytes, name);
    if (header.width > static_cast<std::int64_t>(kShpMaxSide) || header.height > static_cast<std::int64_t>(kShpMaxSide))
      throw BitmapLoadError(name + " is too large for a SHP file");
    return ToIndexedBitmap(ReadIndexedBmp(bytes, name));
  } catch (const BmpReadError& error) {
    throw BitmapLoadError(error.what());
  }
}

IndexedBitmap LoadBitmapForShp(const std::string& path) {
  const std::string name = std::filesystem::absolute(path).string();
  QFile file(QString::fromStdString(path));
  // Ordinary files only: opening a pipe would wait for a writer for ever.
  if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) throw BitmapLoadError("Cannot open file " + name);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw BitmapLoadError("Cannot open file " + name);
  return DecodeBitmapForShp({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())},
                            name);
}

}  // namespace kxc2
