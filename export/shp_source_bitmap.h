#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "export/shp_indexed_bitmap.h"

namespace kxc2 {

// Why a bitmap cannot be converted; what() is the text the user sees.
class BitmapLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Loads a Windows BMP for conversion. 8-bit files keep their indices; 1- and
// 4-bit files become the same indices in 8 bits. Throws BitmapLoadError:
// "Cannot open file PATH", "Bitmap image is not valid" (also for files whose
// pixel data is cut short), "PATH is not an 8-bit bitmap" for other depths,
// "PATH is too large for a SHP file" for sides above 65536. PATH is the
// path made absolute.
IndexedBitmap LoadBitmapForShp(const std::string& path);

// The same from bytes already read; name stands for PATH in the messages.
IndexedBitmap DecodeBitmapForShp(std::span<const std::uint8_t> bytes, const std::string& name);

}  // namespace kxc2
