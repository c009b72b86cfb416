#include "export/shp_source_bitmap.h"

#include <QFile>
#include <QImage>
#include <filesystem>

#include "export/shp_file.h"

namespace kxc2 {

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;

// What the BMP's own headers promise, read before Qt sees the file.
struct BmpLayout {
  std::uint32_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, whatever their order
  int bitsPerPixel = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t compressedSize = 0;
};

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

BmpLayout ReadLayout(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
    throw BitmapLoadError(kInvalidBitmap);
  BmpLayout layout;
  layout.pixelOffset = U32(bytes, 10);
  layout.headerSize = U32(bytes, 14);
  if (layout.headerSize == kCoreHeaderSize) {
    layout.width = U16(bytes, 18);
    layout.height = U16(bytes, 20);
    layout.bitsPerPixel = static_cast<int>(U16(bytes, 24));
    return layout;
  }
  if (layout.headerSize < 40 || bytes.size() < kFileHeaderSize + 40) throw BitmapLoadError(kInvalidBitmap);
  layout.width = static_cast<std::int32_t>(U32(bytes, 18));
  layout.height = static_cast<std::int32_t>(U32(bytes, 22));
  if (layout.height < 0) layout.height = -layout.height;
  layout.bitsPerPixel = static_cast<int>(U16(bytes, 28));
  layout.compression = U32(bytes, 30);
  layout.compressedSize = U32(bytes, 34);
  return layout;
}

// Qt fills the rows a short file lacks with garbage instead of failing, so
// the data the headers promise must all be there.
bool PixelDataComplete(const BmpLayout& layout, std::size_t fileSize) {
  if (layout.pixelOffset > fileSize) return false;
  const std::uint64_t available = fileSize - layout.pixelOffset;
  if (layout.compression == kRle8 || layout.compression == kRle4)
    return layout.compressedSize > 0 && layout.compressedSize <= available;
  const std::uint64_t stride = (static_cast<std::uint64_t>(layout.width) * layout.bitsPerPixel + 31) / 32 * 4;
  return stride * static_cast<std::uint64_t>(layout.height) <= available;
}

PaletteColour FileColour(std::span<const std::uint8_t> bytes, const BmpLayout& layout, std::size_t index) {
  const std::size_t entrySize = layout.headerSize == kCoreHeaderSize ? 3 : 4;
  const std::size_t at = kFileHeaderSize + layout.headerSize + entrySize * index;
  if (at + 3 > bytes.size()) return {};
  return {bytes[at + 2], bytes[at + 1], bytes[at]};
}

PaletteColour FromRgb(QRgb colour) {
  return {static_cast<std::uint8_t>(qRed(colour)), static_cast<std::uint8_t>(qGreen(colour)),
          static_cast<std::uint8_t>(qBlue(colour))};
}

// Qt turns a black-and-white 1-bit file into its own convention, white
// first, inverting every index; the file's order is what the indices mean.
bool QtSwappedMonoTable(const QImage& image, std::span<const std::uint8_t> bytes, const BmpLayout& layout) {
  const QList<QRgb> table = image.colorTable();
  if (table.size() != 2) return false;
  const PaletteColour file0 = FileColour(bytes, layout, 0);
  const PaletteColour file1 = FileColour(bytes, layout, 1);
  return !(file0 == file1) && FromRgb(table[0]) == file1 && FromRgb(table[1]) == file0;
}

IndexedBitmap ToIndexedBitmap(const QImage& indexed, bool invertIndices) {
  IndexedBitmap bitmap;
  bitmap.width = static_cast<std::size_t>(indexed.width());
  bitmap.height = static_cast<std::size_t>(indexed.height());
  bitmap.pixels.resize(bitmap.width * bitmap.height);
  for (std::size_t y = 0; y < bitmap.height; ++y) {
    const uchar* line = indexed.constScanLine(static_cast<int>(y));
    std::uint8_t* out = bitmap.row(y).data();
    for (std::size_t x = 0; x < bitmap.width; ++x) out[x] = invertIndices ? (line[x] ^ 1) : line[x];
  }
  const QList<QRgb> table = indexed.colorTable();
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(table.size()), bitmap.palette.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t target = invertIndices ? (i ^ 1) : i;
    bitmap.palette[target] = FromRgb(table[static_cast<qsizetype>(i)]);
  }
  return bitmap;
}

}  // namespace

IndexedBitmap DecodeBitmapForShp(std::span<const std::uint8_t> bytes, const std::string& name) {
  const BmpLayout layout = ReadLayout(bytes);
  if (layout.width <= 0 || layout.height <= 0) throw BitmapLoadError(kInvalidBitmap);
  if (layout.bitsPerPixel != 1 && layout.bitsPerPixel != 4 && layout.bitsPerPixel != 8)
    throw BitmapLoadError(name + " is not an 8-bit bitmap");
  if (layout.width > static_cast<std::int64_t>(kShpMaxSide) || layout.height > static_cast<std::int64_t>(kShpMaxSide))
    throw BitmapLoadError(name + " is too large for a SHP file");
  if (!PixelDataComplete(layout, bytes.size())) throw BitmapLoadError(kInvalidBitmap);

  QImage image;
  if (!image.loadFromData(bytes.data(), static_cast<qsizetype>(bytes.size()), "BMP") || image.isNull() ||
      image.width() != layout.width || image.height() != layout.height)
    throw BitmapLoadError(kInvalidBitmap);
  if (image.format() == QImage::Format_Indexed8) return ToIndexedBitmap(image, false);
  if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB)
    throw BitmapLoadError(kInvalidBitmap);
  const bool swapped = QtSwappedMonoTable(image, bytes, layout);
  return ToIndexedBitmap(image.convertToFormat(QImage::Format_Indexed8), swapped);
}

IndexedBitmap LoadBitmapForShp(const std::string& path) {
  const std::string name = std::filesystem::absolute(path).string();
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) throw BitmapLoadError("Cannot open file " + name);
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw BitmapLoadError("Cannot open file " + name);
  return DecodeBitmapForShp({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size())},
                            name);
}

}  // namespace kxc2
