#include "export/bmp_writer.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "export/file_bytes.h"

namespace kxc2 {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kPaletteEntries = 256;
constexpr std::uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * kPaletteEntries;

void Put16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
  Put16(at, value & 0xFFFF);
  Put16(at + 2, value >> 16);
}

std::uint64_t Stride(std::uint64_t width) { return (width + 3) & ~std::uint64_t{3}; }

}  // namespace

std::uint64_t Bmp8FileSize(std::uint64_t width, std::uint64_t height) {
  // Each side fits in 32 bits here, so the product cannot wrap 64.
  constexpr std::uint64_t kLimit = std::numeric_limits<std::uint32_t>::max();
  if (width > kLimit || height > kLimit) throw std::length_error("the bitmap would be larger than 4 GB");
  const std::uint64_t size = kPixelOffset + Stride(width) * height;
  if (size > kLimit) throw std::length_error("the bitmap would be larger than 4 GB");
  return size;
}

std::vector<std::uint8_t> EncodeBmp8(const Image& image) {
  if (image.format() != Image::Format_Indexed8) throw std::invalid_argument("EncodeBmp8 needs an Indexed8 image");
  const auto width = static_cast<std::uint32_t>(image.width());
  const auto height = static_cast<std::uint32_t>(image.height());
  const std::uint64_t fileSize = Bmp8FileSize(width, height);
  const auto stride = static_cast<std::size_t>(Stride(width));
  const auto pixelBytes = static_cast<std::uint32_t>(fileSize - kPixelOffset);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fileSize), 0);

  std::uint8_t* header = bytes.data();
  header[0] = 'B';
  header[1] = 'M';
  Put32(header + 2, static_cast<std::uint32_t>(fileSize));
  Put32(header + 10, kPixelOffset);

  std::uint8_t* info = header + kFileHeaderSize;
  Put32(info, kInfoHeaderSize);
  Put32(info + 4, width);
  Put32(info + 8, height);  // positive: bottom row first
  Put16(info + 12, 1);
  Put16(info + 14, 8);
  Put32(info + 20, pixelBytes);
  Put32(info + 32, kPaletteEntries);

  const std::vector<Rgb> table = image.colorTable();
  std::uint8_t* palette = info + kInfoHeaderSize;
  for (std::size_t i = 0; i < table.size() && i < kPaletteEntries; ++i) {
    palette[4 * i] = static_cast<std::uint8_t>(BlueOf(table[i]));
    palette[4 * i + 1] = static_cast<std::uint8_t>(GreenOf(table[i]));
    palette[4 * i + 2] = static_cast<std::uint8_t>(RedOf(table[i]));
  }

  std::uint8_t* pixels = bytes.data() + kPixelOffset;
  for (std::uint32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = image.constScanLine(static_cast<int>(height - 1 - y));
    std::copy(row, row + width, pixels + y * stride);
  }
  return bytes;
}

void SaveBmp8(const std::string& path, const Image& image) { WriteExportFile(path, EncodeBmp8(image)); }

}  // namespace kxc2
