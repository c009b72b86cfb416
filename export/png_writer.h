#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "draw/image.h"

namespace kxc2 {

// The picture as an 8-bit RGB PNG file's bytes.
std::vector<std::uint8_t> EncodePng(const Image& image);

// Writes image as a PNG file safely: the old file stays until the new one is
// complete. Throws std::runtime_error "Cannot create file PATH" or
// "Cannot write file PATH: REASON".
void SavePng(const std::string& path, const Image& image);

}  // namespace kxc2
