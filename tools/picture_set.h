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

// The hicolor sizes the editor's icon is installed at.
inline constexpr int kAppIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The editor's icon, size x size with a transparent ground.
QImage DrawAppIcon(int size);

}  // namespace kxc2::pictures
