#include "export/shp_decoder.h"

#include <cstring>
#include <string>

#include "export/shp_encoder.h"
#include "export/shp_file.h"

namespace kxc2 {

namespace {

std::string At(std::size_t offset) { return " at offset " + std::to_string(offset); }

// Bounds-checked little-endian reads over the file.
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t size() const { return bytes_.size(); }
  bool has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
  }
  void require(std::size_t offset, std::size_t count, const std::string& what) const {
    if (!has(offset, count))
      throw ShpFormatError(what + " (" + std::to_string(count) + " bytes" + At(offset) +
                           ") lies outside the file of " + std::to_string(size()) + " bytes");
  }
  std::uint8_t u8(std::size_t offset) const { return bytes_[offset]; }
  std::uint16_t u16(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
  }
  std::uint32_t u32(std::size_t offset) const {
    return static_cast<std::uint32_t>(u16(offset)) | static_cast<std::uint32_t>(u16(offset + 2)) << 16;
  }
  const std::uint8_t* data(std::size_t offset) const { return bytes_.data() + offset; }

 private:
  std::span<const std::uint8_t> bytes_;
};

struct FileHeader {
  std::size_t imageOffset = 0;
  std::size_t paletteOffset = 0;
};

FileHeader ReadFileHeader(const ByteReader& in) {
  in.require(0, kShpFileHeaderSize, "the file header");
  if (std::memcmp(in.data(0), kShpFormatTag, sizeof kShpFormatTag) != 0)
    throw ShpFormatError("not a SHP file: it does not start with \"1.10\"");
  const std::uint32_t images = in.u32(4);
  if (images != 1)
    throw ShpFormatError("the file holds " + std::to_string(images) + " images; only one is supported");
  return {in.u32(8), in.u32(kShpPaletteOffsetField)};
}

void ReadImageSize(const ByteReader& in, std::size_t offset, IndexedBitmap& image) {
  in.require(offset, kShpImageHeaderSize, "the image header");
  const std::size_t lastRow = in.u16(offset);
  const std::size_t lastColumn = in.u16(offset + 2);
  if (in.u16(offset + 16) != lastColumn || in.u16(offset + 20) != lastRow)
    throw ShpFormatError("the image header" + At(offset) + " gives two different sizes");
  image.width = lastColumn + 1;
  image.height = lastRow + 1;
  if (static_cast<std::uint64_t>(image.width) * image.height > kShpMaxDecodedPixels)
    throw ShpFormatError("image of " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                         " pixels is too large");
}

// The fewest bytes a row can take: full runs of 127 and the closing 0. A
// file too short for that is refused before the pixels are allocated.
std::size_t MinimumRowBytes(std::size_t width) {
  return 2 * ((width + kShpMaxPacketPixels - 1) / kShpMaxPacketPixels) + 1;
}

// Decodes one row starting at offset; returns the offset after its closing 0.
std::size_t DecodeRow(const ByteReader& in, std::size_t offset, std::size_t limit, std::size_t y,
                      std::span<std::uint8_t> row) {
  const std::string where = "row " + std::to_string(y);
  std::size_t x = 0;
  for (;;) {
    if (offset >= limit) throw ShpFormatError(where + " runs past the end of the row data" + At(offset));
    const std::uint8_t code = in.u8(offset);
    if (code == kShpEndOfRow) break;
    if (code == 1 || code == 2) throw ShpFormatError(where + " has the invalid packet code " +
                                                     std::to_string(code) + At(offset));
    const bool literal = (code & 1) != 0;
    const std::size_t count = literal ? (code - 1) / 2 : code / 2;
    const std::size_t dataBytes = literal ? count : 1;
    if (count > row.size() - x)
      throw ShpFormatError(where + " holds more than " + std::to_string(row.size()) + " pixels" + At(offset));
    if (dataBytes > limit - offset - 1)
      throw ShpFormatError(where + " has a packet cut off by the end of the row data" + At(offset));
    if (literal)
      std::memcpy(row.data() + x, in.data(offset + 1), count);
    else
      std::memset(row.data() + x, in.u8(offset + 1), count);
    x += count;
    offset += 1 + dataBytes;
  }
  if (x != row.size())
    throw ShpFormatError(where + " ends after " + std::to_string(x) + " of " + std::to_string(row.size()) +
                         " pixels" + At(offset));
  return offset + 1;
}

void ReadRows(const ByteReader& in, std::size_t offset, std::size_t limit, IndexedBitmap& image) {
  if (limit - offset < image.height * MinimumRowBytes(image.width))
    throw ShpFormatError("the row data of " + std::to_string(limit - offset) + " bytes is too short for " +
                         std::to_string(image.width) + " x " + std::to_string(image.height) + " pixels");
  image.pixels.resize(image.width * image.height);
  for (std::size_t y = 0; y < image.height; ++y) offset = DecodeRow(in, offset, limit, y, image.row(y));
  if (offset != limit)
    throw ShpFormatError("the rows end" + At(offset) + " but the palette starts" + At(limit));
}

void ReadPalette(const ByteReader& in, std::size_t offset, IndexedBitmap& image) {
  in.require(offset, 4, "the palette count");
  const std::uint32_t count = in.u32(offset);
  if (count > 256) throw ShpFormatError("the palette claims " + std::to_string(count) + " entries");
  in.require(offset + 4, 4 * std::size_t{count}, "the palette entries");
  const std::size_t end = offset + 4 + 4 * std::size_t{count};
  if (end != in.size())
    throw ShpFormatError(std::to_string(in.size() - end) + " unexpected bytes follow the palette" + At(end));
  for (std::size_t at = offset + 4; at < end; at += 4) {
    if (in.u8(at + 1) > 63 || in.u8(at + 2) > 63 || in.u8(at + 3) > 63)
      throw ShpFormatError("the palette entry" + At(at) + " has a component above 63");
    image.palette[in.u8(at)] = {static_cast<std::uint8_t>(in.u8(at + 1) * 4),
                                static_cast<std::uint8_t>(in.u8(at + 2) * 4),
                                static_cast<std::uint8_t>(in.u8(at + 3) * 4)};
  }
}

}  // namespace

IndexedBitmap DecodeShpFile(std::span<const std::uint8_t> bytes) {
  const ByteReader in(bytes);
  const FileHeader header = ReadFileHeader(in);
  IndexedBitmap image;
  ReadImageSize(in, header.imageOffset, image);
  const std::size_t rowsOffset = header.imageOffset + kShpImageHeaderSize;
  if (header.paletteOffset < rowsOffset || header.paletteOffset > in.size())
    throw ShpFormatError("the palette offset " + std::to_string(header.paletteOffset) +
                         " lies outside the space after the image header");
  ReadPalette(in, header.paletteOffset, image);
  ReadRows(in, rowsOffset, header.paletteOffset, image);
  return image;
}

}  // namespace kxc2
