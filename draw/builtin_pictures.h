#pragma once

#include <cstdint>
#include <span>

#include "draw/image.h"

namespace kxc2 {

// The pictures built into the programs, as 8-bit indexed images with a
// 256-entry colour table. A fresh copy on every call.
Image MapTilesPicture();      // 264 x 200, view cells 44 x 50
Image MapTiles2Picture();     // 60 x 48, view cells 12 x 12, red road marker at (57, 45)
Image SummerTilesPicture();   // 765 x 50, painter tiles 45 x 50
Image WinterTilesPicture();   // 765 x 50, same palette as summer

// The committed BMP files as built in, byte for byte.
std::span<const std::uint8_t> MapTilesBmp();
std::span<const std::uint8_t> MapTiles2Bmp();
std::span<const std::uint8_t> SummerTilesBmp();
std::span<const std::uint8_t> WinterTilesBmp();

}  // namespace kxc2
