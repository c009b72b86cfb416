#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <map>
#include <vector>

namespace kxc2::pictures {

// Palette entries that must hold exact colours, by index.
using FixedEntries = std::map<int, QRgb>;

// A 256-entry palette for the given RGB32 drawings: the fixed entries where
// they are asked for, the drawings' other colours reduced by median cut into
// the free entries. Deterministic for the same drawings.
QList<QRgb> BuildPalette(const std::vector<QImage>& drawings, const FixedEntries& fixed);

// The drawing as an Indexed8 image over palette, each pixel taking the nearest
// entry (squared RGB distance, lowest index on a tie).
QImage Quantise(const QImage& drawing, const QList<QRgb>& palette);

}  // namespace kxc2::pictures
