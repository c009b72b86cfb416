#include "export/bmp_reader.h"

#include <QImage>
#include <QList>
#include <QRgb>

#include "draw/qt_bridge.h"

namespace kxc2 {

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sides, 3-byte colours
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr int kPaletteSize = 256;

// Everything the checks need, read before Qt sees the file.
struct BmpLayout {
  BmpHeader header;
  std::uint32_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  std::uint32_t compression = 0;
  std::uint32_t compressedSize = 0;
};

[[noreturn]] void NotValid() { throw BmpReadError(kInvalidBitmap); }

std::uint32_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

BmpLayout ReadLayout(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') NotValid();
  BmpLayout layout;
  layout.pixelOffset = U32(bytes, 10);
  layout.headerSize = U32(bytes, 14);
  BmpHeader& header = layout.header;
  if (layout.headerSize == kCoreHeaderSize) {
    // The sides are unsigned words here; rows always run bottom-up.
    header.width = U16(bytes, 18);
    header.height = U16(bytes, 20);
    header.bitsPerPixel = static_cast<int>(U16(bytes, 24));
  } else {
    if (layout.headerSize < kInfoHeaderSize || bytes.size() < kFileHeaderSize + kInfoHeaderSize) NotValid();
    header.width = static_cast<std::int32_t>(U32(bytes, 18));
    header.height = static_cast<std::int32_t>(U32(bytes, 22));
    if (header.height < 0) header.height = -header.height;  // top-down rows
    header.bitsPerPixel = static_cast<int>(U16(bytes, 28));
    layout.compression = U32(bytes, 30);
    layout.compressedSize = U32(bytes, 34);
  }
  if (header.width <= 0 || header.height <= 0) NotValid();
  return layout;
}

BmpLayout ReadIndexedLayout(std::span<const std::uint8_t> bytes, const std::string& name) {
  const BmpLayout layout = ReadLayout(bytes);
  const int bits = layout.header.bitsPerPixel;
  if (bits != 1 && bits != 4 && bits != 8) throw BmpReadError(name + " is not an 8-bit bitmap");
  return layout;
}

// Qt fills the rows a short file lacks with garbage instead of failing, so
// the data the headers promise must all be there. Compared by division: a
// hostile height times stride need not fit in 64 bits.
bool PixelDataComplete(const BmpLayout& layout, std::size_t fileSize) {
  if (layout.pixelOffset > fileSize) return false;
  const std::uint64_t available = fileSize - layout.pixelOffset;
  if (layout.compression == kRle8 || layout.compression == kRle4)
    return layout.compressedSize > 0 && layout.compressedSize <= available;
  const auto width = static_cast<std::uint64_t>(layout.header.width);
  const auto bits = static_cast<std::uint64_t>(layout.header.bitsPerPixel);
  const std::uint64_t stride = (width * bits + 31) / 32 * 4;
  return static_cast<std::uint64_t>(layout.header.height) <= available / stride;
}

QRgb FileColour(std::span<const std::uint8_t> bytes, const BmpLayout& layout, std::size_t index) {
  const std::size_t entrySize = layout.headerSize == kCoreHeaderSize ? 3 : 4;
  const std::size_t at = kFileHeaderSize + layout.headerSize + entrySize * index;
  if (at > bytes.size() || bytes.size() - at < 3) return qRgb(0, 0, 0);
  return qRgb(bytes[at + 2], bytes[at + 1], bytes[at]);
}

// Qt gives a 1-bit file whose first colour is the darker one its two
// colours swapped and every index inverted. Only that exact swap is undone:
// the file's order is what its indices mean.
bool QtSwappedMonoTable(const QImage& image, std::span<const std::uint8_t> bytes, const BmpLayout& layout) {
  const QList<QRgb> table = image.colorTable();
  if (table.size() != 2) return false;
  const QRgb file0 = FileColour(bytes, layout, 0);
  const QRgb file1 = FileColour(bytes, layout, 1);
  return file0 != file1 && table[0] == file1 && table[1] == file0;
}

QImage UnswappedMono(QImage indexed) {
  for (int y = 0; y < indexed.height(); ++y) {
    uchar* row = indexed.scanLine(y);
    for (int x = 0; x < indexed.width(); ++x) row[x] ^= 1;
  }
  const QList<QRgb> table = indexed.colorTable();
  indexed.setColorTable({table[1], table[0]});
  return indexed;
}

QImage WithFullPalette(QImage image) {
  QList<QRgb> table = image.colorTable();
  table.resize(kPaletteSize, qRgb(0, 0, 0));
  image.setColorTable(table);
  return image;
}

QImage DecodeWithQt(std::span<const std::uint8_t> bytes, const BmpLayout& layout) {
  QImage image;
  if (!image.loadFromData(bytes.data(), static_cast<qsizetype>(bytes.size()), "BMP") || image.isNull() ||
      image.width() != layout.header.width || image.height() != layout.header.height)
    NotValid();
  return image;
}

}  // namespace

BmpHeader ReadIndexedBmpHeader(std::span<const std::uint8_t> bytes, const std::string& name) {
  return ReadIndexedLayout(bytes, name).header;
}

Image ReadIndexedBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
  const BmpLayout layout = ReadIndexedLayout(bytes, name);
  if (!PixelDataComplete(layout, bytes.size())) NotValid();
  const QImage image = DecodeWithQt(bytes, layout);
  if (image.format() == QImage::Format_Indexed8) return FromQImage(WithFullPalette(image));
  if (image.format() != QImage::Format_Mono && image.format() != QImage::Format_MonoLSB) NotValid();
  const QImage indexed = image.convertToFormat(QImage::Format_Indexed8);
  return FromQImage(WithFullPalette(QtSwappedMonoTable(image, bytes, layout) ? UnswappedMono(indexed) : indexed));
}

}  // namespace kxc2
