#include "export/bmp_reader.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace kxc2 {

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sides, 3-byte colours
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::size_t kPaletteSize = 256;

// Everything the checks need, read before the pixels.
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

// The data the headers promise must all be there (the toolkit's reader once
// filled missing rows with garbage). Compared by division: a
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

// The checks the toolkit's reader made, kept so that the same files fail.
constexpr std::uint64_t kMaxPixels = 16384ull * 16384ull;

bool KnownHeaderSize(std::uint32_t size) {
  return size == kCoreHeaderSize || size == kInfoHeaderSize || size == 64 || size == 108 || size == 124;
}

bool PixelsDecodable(std::span<const std::uint8_t> bytes, const BmpLayout& layout) {
  const int bits = layout.header.bitsPerPixel;
  const std::uint32_t planes = layout.headerSize == kCoreHeaderSize ? U16(bytes, 22) : U16(bytes, 26);
  if (!KnownHeaderSize(layout.headerSize) || planes != 1) return false;
  const std::uint32_t compression = layout.compression;
  if (!(compression == 0 || (bits == 8 && compression == kRle8) || (bits == 4 && compression == kRle4))) return false;
  return static_cast<std::uint64_t>(layout.header.width) * static_cast<std::uint64_t>(layout.header.height) <=
         kMaxPixels;
}

bool TopDown(std::span<const std::uint8_t> bytes, const BmpLayout& layout) {
  return layout.headerSize != kCoreHeaderSize && static_cast<std::int32_t>(U32(bytes, 22)) < 0;
}

// The colour table as the file states it; nothing when it is cut short.
std::optional<std::vector<Rgb>> ReadColourTable(std::span<const std::uint8_t> bytes, const BmpLayout& layout,
                                                std::size_t& end) {
  const bool core = layout.headerSize == kCoreHeaderSize;
  const std::uint32_t used = core ? 0 : U32(bytes, 46);
  const std::uint64_t count = used != 0 ? used : 1u << layout.header.bitsPerPixel;
  if (count > static_cast<std::uint64_t>(kPaletteSize)) return std::nullopt;
  const std::size_t entrySize = core ? 3 : 4;
  const std::size_t start = kFileHeaderSize + layout.headerSize;
  end = start + entrySize * count;
  // The file must go on after the table.
  if (end >= bytes.size()) return std::nullopt;
  std::vector<Rgb> table;
  for (std::size_t at = start; at < end; at += entrySize) table.push_back(MakeRgb(bytes[at + 2], bytes[at + 1], bytes[at]));
  return table;
}

// Rows bottom-up into image; a byte beyond the data reads as 0.
void DecodeRows(std::span<const std::uint8_t> data, int bits, Image& image) {
  const auto width = static_cast<std::size_t>(image.width());
  const std::size_t stride = (width * static_cast<std::size_t>(bits) + 31) / 32 * 4;
  const auto at = [&](std::size_t i) -> std::uint8_t { return i < data.size() ? data[i] : 0; };
  for (int row = 0; row < image.height(); ++row) {
    std::uint8_t* out = image.scanLine(image.height() - 1 - row);
    const std::size_t base = stride * static_cast<std::size_t>(row);
    for (std::size_t x = 0; x < width; ++x) {
      if (bits == 8)
        out[x] = at(base + x);
      else if (bits == 4)
        out[x] = static_cast<std::uint8_t>(x % 2 == 0 ? at(base + x / 2) >> 4 : at(base + x / 2) & 0x0F);
      else
        out[x] = static_cast<std::uint8_t>((at(base + x / 8) >> (7 - x % 8)) & 1);
    }
  }
}

// Run-length data: runs, end of line, delta, end of bitmap and literal runs,
// each run clipped at the end of its row.
void DecodeRunLength(std::span<const std::uint8_t> data, int bits, Image& image) {
  const int width = image.width();
  const int height = image.height();
  std::size_t i = 0;
  int x = 0;
  int y = 0;
  const auto put = [&](int index) {
    if (x < width && y < height) image.scanLine(height - 1 - y)[x] = static_cast<std::uint8_t>(index);
    ++x;
  };
  while (y < height && i < data.size()) {
    const int count = data[i++];
    if (count != 0) {
      if (i >= data.size()) break;
      const std::uint8_t value = data[i++];
      for (int k = 0; k < count && x < width; ++k)
        put(bits == 8 ? value : (k % 2 == 0 ? value >> 4 : value & 0x0F));
      continue;
    }
    if (i >= data.size()) break;
    const int code = data[i++];
    if (code == 1) break;
    if (code == 0) {
      x = 0;
      ++y;
    } else if (code == 2) {
      if (i + 2 > data.size()) break;
      x = std::min(x + data[i], width - 1);
      y = std::min(y + data[i + 1], height - 1);
      i += 2;
    } else {
      const std::size_t bytesUsed = bits == 8 ? static_cast<std::size_t>(code) : (static_cast<std::size_t>(code) + 1) / 2;
      if (i + bytesUsed > data.size()) NotValid();
      for (int k = 0; k < code; ++k) {
        if (x >= width) break;
        const std::uint8_t byte = data[i + (bits == 8 ? k : k / 2)];
        put(bits == 8 ? byte : (k % 2 == 0 ? byte >> 4 : byte & 0x0F));
      }
      i += (bytesUsed + 1) / 2 * 2;
    }
  }
}

Image DecodeIndexed(std::span<const std::uint8_t> bytes, const BmpLayout& layout) {
  if (!PixelsDecodable(bytes, layout)) NotValid();
  std::size_t tableEnd = 0;
  std::optional<std::vector<Rgb>> table = ReadColourTable(bytes, layout, tableEnd);
  if (!table) NotValid();
  table->resize(kPaletteSize, MakeRgb(0, 0, 0));
  Image image(static_cast<int>(layout.header.width), static_cast<int>(layout.header.height), Image::Format_Indexed8);
  image.setColorTable(std::move(*table));
  // Pixel data never starts inside the colour table.
  const std::size_t start = std::max<std::size_t>(tableEnd, layout.pixelOffset);
  const std::span<const std::uint8_t> data = bytes.subspan(std::min(start, bytes.size()));
  if (layout.compression == kRle8 || layout.compression == kRle4)
    DecodeRunLength(data, layout.header.bitsPerPixel, image);
  else
    DecodeRows(data, layout.header.bitsPerPixel, image);
  if (TopDown(bytes, layout)) {
    Image flipped(image.size(), Image::Format_Indexed8);
    flipped.setColorTable(image.colorTable());
    for (int y = 0; y < image.height(); ++y)
      std::copy_n(image.constScanLine(image.height() - 1 - y), image.width(), flipped.scanLine(y));
    return flipped;
  }
  return image;
}

}  // namespace

BmpHeader ReadIndexedBmpHeader(std::span<const std::uint8_t> bytes, const std::string& name) {
  return ReadIndexedLayout(bytes, name).header;
}

Image ReadIndexedBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
  const BmpLayout layout = ReadIndexedLayout(bytes, name);
  if (!PixelDataComplete(layout, bytes.size())) NotValid();
  return DecodeIndexed(bytes, layout);
}

}  // namespace kxc2
