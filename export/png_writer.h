#pragma once

#include <string>

#include "draw/image.h"

namespace kxc2 {

// Writes image as a PNG file safely: the old file stays until the new one is
// complete. Throws std::runtime_error "Cannot create file PATH" or
// "Cannot write file PATH: REASON".
void SavePng(const std::string& path, const Image& image);

}  // namespace kxc2
