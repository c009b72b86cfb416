#pragma once

#include <QImage>

namespace kxc2::pictures {

// The four built-in pictures, 8-bit with 256-entry colour tables.
struct PictureSet {
  QImage mapTiles;
  QImage mapTiles2;
  QImage summerTiles;
  QImage winterTiles;
};

PictureSet DrawPictureSet();

// All four enlarged on one sheet, with a few hexes laid out as the view and
// the painter show them, for judging the pictures by eye.
QImage DrawContactSheet(const PictureSet& set);

}  // namespace kxc2::pictures
