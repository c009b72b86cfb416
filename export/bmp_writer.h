#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw/image.h"

namespace kxc2 {

// A Windows bitmap file of 8 bits per pixel with a full 256-entry colour
// table, whatever the size of the image's own table (missing entries are
// black). Qt's own writer drops to 4 bits for small tables, which the game's
// tools do not expect. image must be Format_Indexed8.
// Throws std::length_error for an image whose file would pass 4 GB, which
// the format's 32-bit sizes cannot state.
std::vector<std::uint8_t> EncodeBmp8(const Image& image);

// The size of EncodeBmp8's file for width x height pixels, or
// std::length_error above UINT32_MAX bytes.
std::uint64_t Bmp8FileSize(std::uint64_t width, std::uint64_t height);

// Writes EncodeBmp8 safely: a failure never leaves a partial file under
// path. A file that cannot be created throws "Cannot create file PATH";
// a failed write throws the IoError of the write.
void SaveBmp8(const std::string& path, const Image& image);

}  // namespace kxc2
