#include "export/shp_source_bitmap.h"

#include <algorithm>
#include <filesystem>

#include "core/os_files.h"
#include "export/bmp_reader.h"
#include "export/file_bytes.h"
#include "export/shp_file.h"

namespace kxc2 {

namespace {

PaletteColour FromRgb(Rgb colour) {
  return {static_cast<std::uint8_t>(RedOf(colour)), static_cast<std::uint8_t>(GreenOf(colour)),
          static_cast<std::uint8_t>(BlueOf(colour))};
}

// indexed comes from ReadIndexedBmp: Indexed8 with 256 colours.
IndexedBitmap ToIndexedBitmap(const Image& indexed) {
  IndexedBitmap bitmap;
  bitmap.width = static_cast<std::size_t>(indexed.width());
  bitmap.height = static_cast<std::size_t>(indexed.height());
  bitmap.pixels.resize(bitmap.width * bitmap.height);
  for (std::size_t y = 0; y < bitmap.height; ++y) {
    const std::uint8_t* line = indexed.constScanLine(static_cast<int>(y));
    std::uint8_t* out = bitmap.row(y).data();
    std::copy(line, line + bitmap.width, out);
  }
  const std::vector<Rgb>& table = indexed.colorTable();
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(table.size()), bitmap.palette.size());
  for (std::size_t i = 0; i < count; ++i) bitmap.palette[i] = FromRgb(table[i]);
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
  const std::string name = Utf8Path(std::filesystem::absolute(FsPath(path)));
  const auto bytes = ReadOrdinaryFile(path);
  if (!bytes) throw BitmapLoadError("Cannot open file " + name);
  return DecodeBitmapForShp(*bytes, name);
}

}  // namespace kxc2
