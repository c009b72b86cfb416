#pragma once

#include <QImage>

namespace kxc2 {

// The pictures built into the programs, as 8-bit indexed images.
QImage MapTilesPicture();      // 264 x 200, view cells 44 x 50
QImage MapTiles2Picture();     // 60 x 48, view cells 12 x 12, red road marker at (57, 45)
QImage SummerTilesPicture();   // 765 x 50, painter tiles 45 x 50
QImage WinterTilesPicture();   // 765 x 50, same palette as summer

}  // namespace kxc2
