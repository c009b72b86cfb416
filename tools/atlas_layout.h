#pragma once

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QSize>

namespace kxc2::pictures {

// Both view atlases: five cells to a row, four rows; terrain t at column
// t mod 5, row t div 5.
inline constexpr int kAtlasCells = 20;
inline constexpr int kAtlasColumns = 5;

inline constexpr QSize kLargeAtlasSize(264, 200);
inline constexpr QSize kLargeCell(44, 50);
inline constexpr QSize kSmallAtlasSize(60, 48);
inline constexpr QSize kSmallCell(12, 12);

inline constexpr QRgb kLargeGround = qRgb(0, 200, 47);
inline constexpr QRgb kSmallGround = qRgb(0, 204, 51);
inline constexpr QRgb kViewOcean = qRgb(96, 0, 255);
inline constexpr QRgb kViewRiverDot = qRgb(0, 200, 255);  // the view's river lines
inline constexpr QRgb kMarkerRed = qRgb(255, 0, 0);
inline constexpr QRect kMarkerBlock(57, 45, 3, 3);

// The painter's tile sets: 17 tiles of 45 x 50 side by side.
inline constexpr int kTileCount = 17;
inline constexpr QSize kTile(45, 50);
inline constexpr QSize kTileSetSize(765, 50);
inline constexpr QRgb kSummerGround = qRgb(164, 192, 140);
inline constexpr QRgb kWinterGround = qRgb(220, 220, 228);
inline constexpr QRgb kTileOcean = qRgb(12, 120, 252);
inline constexpr QRgb kPainterRiver = qRgb(124, 144, 164);  // palette entry 200
inline constexpr QRgb kPainterRoad = qRgb(248, 224, 100);   // palette entry 111
inline constexpr int kPainterRiverEntry = 200;
inline constexpr int kPainterRoadEntry = 111;

constexpr QPoint LargeCellCorner(int code) {
  return QPoint(kLargeCell.width() * (code % kAtlasColumns), kLargeCell.height() * (code / kAtlasColumns));
}
constexpr QPoint SmallCellCorner(int code) {
  return QPoint(kSmallCell.width() * (code % kAtlasColumns), kSmallCell.height() * (code / kAtlasColumns));
}

}  // namespace kxc2::pictures
