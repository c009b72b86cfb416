#include "export/shp_file.h"

#include <cstring>
#include <stdexcept>

#include "core/atomic_file.h"
#include "export/shp_encoder.h"

namespace kxc2 {

namespace {

void PutU16(std::uint8_t* at, std::size_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::uint8_t* at, std::size_t value) {
  PutU16(at, value & 0xFFFF);
  PutU16(at + 2, (value >> 16) & 0xFFFF);
}

void AppendHeaders(std::vector<std::uint8_t>& file, const IndexedBitmap& image) {
  file.assign(kShpRowsOffset, 0);
  std::memcpy(file.data(), kShpFormatTag, sizeof kShpFormatTag);
  PutU32(&file[4], 1);
  PutU32(&file[8], kShpFileHeaderSize);
  // P stays 0 until the rows are written.
  const std::size_t lastRow = (image.height - 1) & 0xFFFF;
  const std::size_t lastColumn = (image.width - 1) & 0xFFFF;
  PutU16(&file[16], lastRow);
  PutU16(&file[18], lastColumn);
  PutU16(&file[32], lastColumn);
  PutU16(&file[36], lastRow);
}

void AppendRows(std::vector<std::uint8_t>& file, const IndexedBitmap& image) {
  const std::size_t bound = ShpRowBound(image.width);
  for (std::size_t y = 0; y < image.height; ++y) {
    const std::size_t at = file.size();
    file.resize(at + bound);
    file.resize(at + EncodeShpRow(image.row(y), file.data() + at));
  }
}

void AppendPalette(std::vector<std::uint8_t>& file, const IndexedBitmap& image) {
  const std::size_t at = file.size();
  file.resize(at + kShpPaletteBlockSize);
  std::uint8_t* out = file.data() + at;
  PutU32(out, kShpPaletteEntries);
  out += 4;
  for (std::size_t index = 1; index <= kShpPaletteEntries; ++index) {
    const PaletteColour& colour = image.palette[index];
    *out++ = static_cast<std::uint8_t>(index);
    *out++ = colour.red / 4;
    *out++ = colour.green / 4;
    *out++ = colour.blue / 4;
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeShpFile(const IndexedBitmap& image) {
  if (image.width < 1 || image.height < 1 || image.width > kShpMaxSide || image.height > kShpMaxSide ||
      image.pixels.size() != image.width * image.height)
    throw std::invalid_argument("image cannot be stored in a SHP file");
  std::vector<std::uint8_t> file;
  file.reserve(kShpRowsOffset + image.height * ShpRowBound(image.width) / 2 + kShpPaletteBlockSize);
  AppendHeaders(file, image);
  AppendRows(file, image);
  const std::size_t paletteOffset = file.size();
  // P is a u32: a file whose rows pass 4 GB cannot point at its palette.
  if (paletteOffset > 0xFFFFFFFFu) throw std::length_error("SHP rows pass the 4 GB offset limit");
  AppendPalette(file, image);
  PutU32(&file[kShpPaletteOffsetField], paletteOffset);
  return file;
}

void WriteShpFile(const std::string& path, const IndexedBitmap& image) {
  const std::vector<std::uint8_t> bytes = EncodeShpFile(image);
  WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace kxc2
