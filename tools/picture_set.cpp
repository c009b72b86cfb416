#include "tools/picture_set.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <vector>

#include "core/map_grid.h"
#include "core/terrain.h"
#include "draw/canvas.h"
#include "draw/overlays.h"
#include "draw/qt_bridge.h"
#include "tools/atlas_layout.h"
#include "tools/motifs.h"
#include "tools/palette_builder.h"
#include "tools/small_icons.h"

namespace kxc2::pictures {
namespace {

QColor C(int r, int g, int b) { return QColor(r, g, b); }

Theme ViewTheme() {
  Theme t;
  t.ground = QColor::fromRgb(kLargeGround);
  t.wall = C(214, 214, 214);
  t.roof = C(104, 104, 112);
  t.roofShade = C(70, 70, 76);
  t.church = C(238, 238, 232);
  t.runway = C(236, 236, 204);
  t.runwayMark = C(255, 255, 255);
  t.crown = C(0, 122, 24);
  t.crownLight = C(40, 164, 48);
  t.crownDark = C(0, 66, 12);
  t.trunk = C(110, 68, 24);
  t.snow = C(255, 255, 255);
  t.hedge = C(0, 104, 26);
  t.hedgeLight = C(64, 160, 60);
  t.field1 = C(70, 190, 40);
  t.field2 = C(150, 206, 70);
  t.hill = C(150, 90, 20);
  t.hillFill = C(110, 190, 40);
  t.rockLight = C(176, 176, 176);
  t.rockDark = C(112, 112, 118);
  t.peakSnow = C(252, 252, 252);
  t.sand = C(236, 216, 96);
  t.sandDot = C(168, 128, 48);
  t.swamp = C(0, 120, 72);
  t.swampWater = C(40, 88, 112);
  t.tuft = C(0, 62, 28);
  t.water = QColor::fromRgb(kViewOcean);
  t.riverDot = QColor::fromRgb(kViewRiverDot);
  t.wire = C(40, 40, 40);
  t.obstacle = C(196, 196, 196);
  t.obstacleDark = C(92, 92, 92);
  t.hull = C(56, 56, 66);
  t.deck = C(244, 244, 244);
  t.pier = C(140, 100, 60);
  t.slope = C(206, 164, 64);
  t.slopeDark = C(124, 82, 22);
  t.rough1 = C(120, 110, 60);
  t.rough2 = C(0, 150, 40);
  t.rough3 = C(156, 144, 112);
  t.outline = C(40, 40, 40);
  return t;
}

Theme SummerTheme() {
  Theme t;
  t.ground = QColor::fromRgb(kSummerGround);
  t.groundDot = C(146, 176, 120);
  t.groundDot2 = C(182, 206, 158);
  t.wall = C(206, 204, 198);
  t.roof = C(118, 116, 120);
  t.roofShade = C(78, 76, 80);
  t.church = C(236, 232, 222);
  t.runway = C(238, 228, 164);
  t.runwayMark = C(252, 250, 236);
  t.crown = C(72, 124, 52);
  t.crownLight = C(112, 160, 76);
  t.crownDark = C(38, 78, 30);
  t.trunk = C(100, 72, 46);
  t.snow = C(250, 250, 252);
  t.hedge = C(68, 110, 48);
  t.hedgeLight = C(118, 158, 80);
  t.field1 = C(176, 196, 128);
  t.field2 = C(196, 200, 146);
  t.hill = C(140, 96, 52);
  t.hillFill = C(180, 188, 128);
  t.rockLight = C(170, 166, 160);
  t.rockDark = C(110, 106, 104);
  t.peakSnow = C(248, 248, 250);
  t.sand = C(228, 210, 140);
  t.sandDot = C(160, 120, 70);
  t.swamp = C(118, 144, 100);
  t.swampWater = C(92, 122, 124);
  t.tuft = C(56, 88, 44);
  t.water = QColor::fromRgb(kTileOcean);
  t.waterSpeck = C(255, 255, 255);
  t.riverDot = QColor::fromRgb(kPainterRiver);
  t.wire = C(60, 56, 52);
  t.obstacle = C(196, 192, 184);
  t.obstacleDark = C(106, 102, 96);
  t.hull = C(70, 70, 80);
  t.deck = C(238, 238, 238);
  t.pier = C(140, 104, 70);
  t.slope = C(198, 162, 86);
  t.slopeDark = C(124, 88, 40);
  t.rough1 = C(120, 132, 90);
  t.rough2 = C(142, 122, 86);
  t.rough3 = C(104, 114, 82);
  t.outline = C(60, 56, 52);
  return t;
}

Theme WinterTheme() {
  Theme t = SummerTheme();
  t.ground = QColor::fromRgb(kWinterGround);
  t.groundDot = C(198, 200, 214);
  t.groundDot2 = C(238, 238, 244);
  t.bareTrees = true;
  t.trunk = C(88, 66, 48);
  t.hedge = C(112, 104, 84);
  t.hedgeLight = C(150, 142, 124);
  t.field1 = C(210, 210, 218);
  t.field2 = C(232, 230, 234);
  t.hillFill = C(204, 204, 214);
  t.sand = C(228, 216, 166);
  t.sandDot = C(164, 134, 92);
  t.swamp = C(176, 182, 176);
  t.swampWater = C(150, 178, 204);
  t.tuft = C(128, 110, 74);
  t.crownDark = C(92, 96, 84);
  t.rough1 = C(170, 166, 160);
  t.rough2 = C(140, 124, 100);
  t.rough3 = C(190, 192, 204);
  return t;
}

QImage DrawLargeAtlas() {
  QImage atlas(kLargeAtlasSize, QImage::Format_RGB32);
  atlas.fill(qRgb(0, 0, 0));
  QPainter painter(&atlas);
  const Theme theme = ViewTheme();
  for (int code = 0; code < kAtlasCells; ++code) {
    const QPoint corner = LargeCellCorner(code);
    painter.save();
    painter.translate(corner);
    // The cell's own top row and left column stay black: the grid lines.
    DrawTerrain(painter, code < kTerrainCount ? code : kClear, QRect(1, 1, 43, 49), theme, 1u);
    painter.restore();
  }
  return atlas;
}

QImage DrawTileSet(const Theme& theme, std::uint32_t seed) {
  QImage tiles(kTileSetSize, QImage::Format_RGB32);
  tiles.fill(theme.ground);
  QPainter painter(&tiles);
  for (int code = 0; code < kTileCount; ++code) {
    painter.save();
    painter.translate(code * kTile.width(), 0);
    DrawTerrain(painter, code, QRect(QPoint(0, 0), kTile), theme, seed);
    painter.restore();
  }
  return tiles;
}

QImage ToIndexed(const QImage& drawing, const FixedEntries& fixed) {
  return Quantise(drawing, BuildPalette({drawing}, fixed));
}

// A little map with every terrain, rivers and roads, for the sheet.
MapGrid SampleGrid() {
  MapGrid grid;
  const int layout[5][9] = {{3, 3, 5, 6, 6, 5, 0, 9, 9},   {3, 4, 10, 13, 1, 0, 12, 9, 9},
                            {4, 0, 15, 16, 2, 11, 0, 10, 9}, {7, 8, 10, 0, 14, 10, 10, 0, 12},
                            {7, 8, 0, 13, 0, 0, 16, 3, 0}};
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 9; ++column)
      grid.setTerrain(column, row, static_cast<std::uint8_t>(layout[row][column]));
  grid.setRoadMask(4, 1, 0x01 | 0x10 | 0x02 | 0x20);
  grid.setRoadMask(4, 0, 0x10 | 0x01);
  grid.setRoadMask(4, 2, 0x01 | 0x10);
  grid.setRoadMask(4, 3, 0x01 | 0x10);
  grid.setRoadMask(5, 1, 0x80 | 0x08);
  grid.setRoadMask(6, 1, 0x80 | 0x10);
  grid.setRoadMask(3, 2, 0x02 | 0x20);
  grid.setRoadMask(2, 2, 0x08);
  return grid;
}

// The sample as the painter lays tiles: 45 x 50, even columns half a tile up.
QImage PaintSample(const MapGrid& grid, const QImage& qtTiles) {
  const Image tiles = FromQImage(qtTiles);
  Image piece(9 * 45 - 8, 4 * 50, Image::Format_Indexed8);
  piece.setColorTable(tiles.colorTable());
  piece.fill(0);
  Canvas canvas(piece);
  for (int column = 0; column < 9; ++column)
    for (int row = 0; row < 5; ++row) {
      const int shift = IsRaised(column) ? -25 : 0;
      const Point at(45 * column - 8, 50 * row + shift);
      const int t = grid.terrain(column, row);
      canvas.copyRect(at, tiles, Rect(45 * t, 0, 45, 50));
      if (IsInRiverSet(t))
        DrawRiverLines(at.x(), at.y(), column, row, shift, canvas, kPainterRiver, grid);
      if (grid.roadMask(column, row) != 0 && IsInRoadPaintSet(t))
        DrawRoadSpokes(at.x(), at.y(), grid.roadMask(column, row), canvas, kPainterRoad);
    }
  return ToQImage(piece);
}

// The sample as the zoomed-in and zoomed-out view draw it.
QImage ViewSample(const MapGrid& grid, const QImage& qtAtlas, QSize cell, bool overlays) {
  const Image atlas = FromQImage(qtAtlas);
  Image view(9 * cell.width(), 5 * cell.height() - cell.height() / 2, Image::Format_RGB32);
  view.fill(MakeRgb(0, 0, 0));
  Canvas canvas(view);
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 9; ++column) {
      const int raise = IsRaised(column) ? cell.height() / 2 : 0;
      const Point at(column * cell.width(), row * cell.height() - raise);
      const int t = grid.terrain(column, row);
      canvas.copyRect(at, atlas,
                      Rect(cell.width() * (t % 5), cell.height() * (t / 5), cell.width(), cell.height()));
      if (overlays) {
        if (IsInRiverSet(t))
          DrawRiverLines(at.x(), at.y(), column, row, raise, canvas, ColorFromBgr(0x00FFC800), grid);
        if (grid.roadMask(column, row) != 0)
          DrawRoadSpokes(at.x(), at.y(), grid.roadMask(column, row), canvas, ColorFromBgr(0x0000C8FF));
      } else if (grid.roadMask(column, row) != 0) {
        canvas.copyRect(at + Point(3, 3), atlas, Rect(57, 45, 2, 2));
      }
    }
  return ToQImage(view);
}

QImage Enlarged(const QImage& image, int factor) {
  return image.convertToFormat(QImage::Format_RGB32)
      .scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

}  // namespace

PictureSet DrawPictureSet() {
  PictureSet set;
  set.mapTiles = ToIndexed(DrawLargeAtlas(), {{0, qRgb(0, 0, 0)},
                                              {1, kLargeGround},
                                              {2, kViewOcean},
                                              {3, kViewRiverDot}});
  set.mapTiles2 = ToIndexed(DrawSmallAtlas(), {{0, qRgb(0, 0, 0)},
                                               {1, kSmallGround},
                                               {2, kViewOcean},
                                               {3, kViewRiverDot},
                                               {4, kMarkerRed}});
  const QImage summer = DrawTileSet(SummerTheme(), 7u);
  const QImage winter = DrawTileSet(WinterTheme(), 7u);
  const FixedEntries shared = {{0, qRgb(0, 0, 0)},           {1, kSummerGround},
                               {2, kWinterGround},           {3, kTileOcean},
                               {4, qRgb(255, 255, 255)},     {kPainterRoadEntry, kPainterRoad},
                               {kPainterRiverEntry, kPainterRiver}};
  const QList<QRgb> palette = BuildPalette({summer, winter}, shared);
  set.summerTiles = Quantise(summer, palette);
  set.winterTiles = Quantise(winter, palette);
  return set;
}

QImage DrawContactSheet(const PictureSet& set) {
  const MapGrid grid = SampleGrid();
  const std::vector<QImage> rows[] = {
      {Enlarged(set.mapTiles, 3), Enlarged(set.mapTiles2, 8)},
      {Enlarged(set.summerTiles, 2)},
      {Enlarged(set.winterTiles, 2)},
      {Enlarged(PaintSample(grid, set.summerTiles), 2), Enlarged(PaintSample(grid, set.winterTiles), 2)},
      {Enlarged(ViewSample(grid, set.mapTiles, QSize(44, 50), true), 2),
       Enlarged(ViewSample(grid, set.mapTiles2, QSize(12, 12), false), 4),
       ViewSample(grid, set.mapTiles2, QSize(12, 12), false)},
  };
  constexpr int gap = 16;
  int width = 0, height = gap;
  for (const auto& row : rows) {
    int rowWidth = gap, rowHeight = 0;
    for (const QImage& image : row) {
      rowWidth += image.width() + gap;
      rowHeight = std::max(rowHeight, image.height());
    }
    width = std::max(width, rowWidth);
    height += rowHeight + gap;
  }
  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(qRgb(48, 48, 52));
  QPainter painter(&sheet);
  int y = gap;
  for (const auto& row : rows) {
    int x = gap, rowHeight = 0;
    for (const QImage& image : row) {
      painter.drawImage(x, y, image);
      x += image.width() + gap;
      rowHeight = std::max(rowHeight, image.height());
    }
    y += rowHeight + gap;
  }
  return sheet;
}

QImage DrawAppIcon(int size) {
  // Drawn large and scaled down smoothly: the motifs' dots would not survive
  // being drawn at 16 pixels.
  constexpr int kMaster = 512;
  constexpr double kScale = kMaster / 100.0;
  // One flat-topped hex, as the map's columns stand, holding three of the
  // painter's own terrains and a road.
  const QPolygonF hex{{98, 50}, {74, 91.6}, {26, 91.6}, {2, 50}, {26, 8.4}, {74, 8.4}};
  const Theme theme = SummerTheme();
  QImage master(kMaster, kMaster, QImage::Format_ARGB32_Premultiplied);
  master.fill(theme.ground);
  QPainter painter(&master);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(kScale, kScale);
  const struct {
    int code;
    QPointF corner;
  } motifs[] = {{kMountain, {27.5, 4}}, {kForest, {5, 41}}, {kCity, {50, 41}}};
  for (const auto& motif : motifs) {
    painter.save();
    painter.translate(motif.corner);
    DrawTerrain(painter, motif.code, QRect(0, 0, 45, 50), theme, 7u);
    painter.restore();
  }
  painter.setClipping(false);
  painter.setPen(QPen(QColor::fromRgb(kPainterRoad), 5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(50, 100), QPointF(72.5, 66));
  // The motifs clip themselves to their frames, so the hex cuts the picture
  // out afterwards.
  painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
  painter.setPen(Qt::NoPen);
  QPainterPath outside;
  outside.addRect(0, 0, 100, 100);
  outside.addPolygon(hex);
  painter.setBrush(Qt::transparent);
  painter.drawPath(outside);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setBrush(Qt::NoBrush);
  // At least a pixel and a half of outline once scaled down, or small icons lose their edge.
  const double outline = std::max(4.0, 150.0 / size);
  painter.setPen(QPen(theme.outline, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolygon(hex);
  painter.end();
  return master.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace kxc2::pictures
