#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "export/shp_indexed_bitmap.h"

namespace kxc2 {

// Layout of a ShpFile holding one image.
inline constexpr char kShpFormatTag[4] = {'1', '.', '1', '0'};
inline constexpr std::size_t kShpFileHeaderSize = 16;
inline constexpr std::size_t kShpImageHeaderSize = 24;
inline constexpr std::size_t kShpRowsOffset = kShpFileHeaderSize + kShpImageHeaderSize;
inline constexpr std::size_t kShpPaletteOffsetField = 12;
inline constexpr std::uint32_t kShpPaletteEntries = 255;  // indices 1..255; 0 gets none
inline constexpr std::size_t kShpPaletteBlockSize = 4 + 4 * kShpPaletteEntries;
// Width and height are stored less one in 16 bits.
inline constexpr std::size_t kShpMaxSide = 65536;

// The whole file for image: headers, encoded rows, palette block, and the
// palette's offset P at offset 12. Sides must be 1 to kShpMaxSide
// (std::invalid_argument otherwise); rows passing 4 GB throw std::length_error.
std::vector<std::uint8_t> EncodeShpFile(const IndexedBitmap& image);

// Writes EncodeShpFile(image) to path safely; throws IoError.
void WriteShpFile(const std::string& path, const IndexedBitmap& image);

}  // namespace kxc2
