#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "draw/image.h"

namespace kxc2 {

// Why a bitmap file cannot be read; what() is the text the user sees.
class BmpReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a Windows bitmap's own headers promise.
struct BmpHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows, whatever their order
  int bitsPerPixel = 0;
};

// Checks the headers of a bitmap of 1, 4 or 8 bits per pixel without
// decoding it. Throws BmpReadError "Bitmap image is not valid" for missing
// or damaged headers and sides below 1, "NAME is not an 8-bit bitmap" for
// other depths.
BmpHeader ReadIndexedBmpHeader(std::span<const std::uint8_t> bytes, const std::string& name);

// The whole bitmap as an Indexed8 image holding the file's own indices
// (also for 1- and 4-bit files), its colour table the file's padded with
// black to 256 entries. Throws as ReadIndexedBmpHeader, and "Bitmap image is
// not valid" for pixel data that is cut short or cannot be decoded.
Image ReadIndexedBmp(std::span<const std::uint8_t> bytes, const std::string& name);

}  // namespace kxc2
