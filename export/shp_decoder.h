#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>

#include "export/shp_indexed_bitmap.h"

namespace kxc2 {

// A file that is not a well-formed one-image ShpFile; the message says what
// is wrong and where.
class ShpFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The most pixels a decoded image may have: 256 MB of indices. The sides
// alone allow 4 GB, which a small file can ask for.
inline constexpr std::uint64_t kShpMaxDecodedPixels = std::uint64_t{256} * 1024 * 1024;

// Decodes a whole ShpFile. Every offset, count and packet is checked against
// the data's size and the image's width and height before it is used, so no
// input reads outside bytes. Images above kShpMaxDecodedPixels are refused
// before anything is allocated. Palette components come back multiplied by 4;
// indices without an entry are black.
IndexedBitmap DecodeShpFile(std::span<const std::uint8_t> bytes);

}  // namespace kxc2
