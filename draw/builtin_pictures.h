#pragma once

#include <QString>

#include "draw/image.h"

namespace kxc2 {

// The pictures built into the programs, as 8-bit indexed images with a
// 256-entry colour table. A fresh copy on every call.
Image MapTilesPicture();      // 264 x 200, view cells 44 x 50
Image MapTiles2Picture();     // 60 x 48, view cells 12 x 12, red road marker at (57, 45)
Image SummerTilesPicture();   // 765 x 50, painter tiles 45 x 50
Image WinterTilesPicture();   // 765 x 50, same palette as summer

// Resource paths of the four pictures, for code that loads them itself.
inline const QString kMapTilesResource = QStringLiteral(":/pictures/MapTiles.bmp");
inline const QString kMapTiles2Resource = QStringLiteral(":/pictures/MapTiles2.bmp");
inline const QString kSummerTilesResource = QStringLiteral(":/pictures/SUMMERTILES.bmp");
inline const QString kWinterTilesResource = QStringLiteral(":/pictures/WINTERTILES.bmp");

}  // namespace kxc2
