#include "editing/map_view.h"

#include <algorithm>
#include <array>

#include "core/terrain.h"
#include "draw/canvas.h"
#include "draw/overlays.h"

namespace kxc2 {
namespace {

constexpr int kAtlasColumns = 5;
constexpr int kAtlasCells = 20;
// Codes past the atlases' twenty cells (foreign files only) show plain ground.
constexpr int kNeutralCell = 17;
constexpr Rect kRoadMarkerSource{57, 45, 2, 2};
constexpr int kRoadMarkerOffset = 3;
// The whole map zoomed out at scale 1: 540 wide; the raised columns end at
// 474, the others at 480.
constexpr int kZoomedOutGridWidth = kGridColumns * 12;
constexpr int kZoomedOutGridHeight = kGridRows * 12;
constexpr std::array<Side, 6> kSides = {Side::North,     Side::NorthEast, Side::SouthEast,
                                        Side::South,     Side::SouthWest, Side::NorthWest};

constexpr Rgb kRiverColour = ColorFromBgr(0x00FFC800);
constexpr Rgb kRoadColour = ColorFromBgr(0x0000C8FF);
constexpr Rgb kBlack = ColorFromBgr(0x00000000);

Image Shaded(const Image& atlas) {
  Image shaded = atlas.copy();
  for (int y = 0; y < shaded.height(); ++y) {
    auto* line = reinterpret_cast<Rgb*>(shaded.scanLine(y));
    for (int x = 0; x < shaded.width(); ++x) line[x] = ShadedPixel(line[x]);
  }
  return shaded;
}

// Each pixel becomes a scale x scale block, so the small cells stay crisp.
Image ScaledByWholePixels(const Image& atlas, int scale) {
  Image scaled(atlas.width() * scale, atlas.height() * scale, Image::Format_RGB32);
  for (int y = 0; y < scaled.height(); ++y) {
    const auto* from = reinterpret_cast<const Rgb*>(atlas.constScanLine(y / scale));
    auto* to = reinterpret_cast<Rgb*>(scaled.scanLine(y));
    for (int x = 0; x < scaled.width(); ++x) to[x] = from[x / scale];
  }
  return scaled;
}

Rect AtlasCell(int code, const CellGeometry& cell) {
  const int index = code < kAtlasCells ? code : kNeutralCell;
  return {cell.width * (index % kAtlasColumns), cell.height * (index / kAtlasColumns), cell.width,
          cell.height};
}

}  // namespace

int ShownColumns(const ViewState& view) {
  return std::clamp(view.ViewWidth / kZoomedInCell.width, kWindowColumns, kGridColumns);
}

int ShownRows(const ViewState& view) {
  return std::clamp((view.ViewHeight + kZoomedInCell.raise) / kZoomedInCell.height, kWindowRows, kGridRows);
}

int MaxOriginColumn(const ViewState& view) { return kGridColumns - ShownColumns(view); }

int MaxOriginRow(const ViewState& view) { return kGridRows - ShownRows(view); }

int ZoomedOutScale(const ViewState& view) {
  return std::max(1, std::min(view.ViewWidth / kZoomedOutGridWidth, view.ViewHeight / kZoomedOutGridHeight));
}

int TouchedColumns(const ViewState& view) {
  const CellGeometry& cell = kZoomedInCell;
  return std::min(kGridColumns - view.OriginColumn, (view.ViewWidth + cell.width - 1) / cell.width);
}

int TouchedRows(const ViewState& view) {
  const CellGeometry& cell = kZoomedInCell;
  return std::min(kGridRows - view.OriginRow, (view.ViewHeight + cell.raise + cell.height - 1) / cell.height);
}

CellGeometry GeometryOf(const ViewState& view) {
  if (view.ZoomedIn) return kZoomedInCell;
  const int scale = ZoomedOutScale(view);
  return {kZoomedOutCell.width * scale, kZoomedOutCell.height * scale, kZoomedOutCell.raise * scale};
}

HexCoord PixelToHex(const ViewState& view, int x, int y) {
  const CellGeometry cell = GeometryOf(view);
  const int column = std::clamp(x / cell.width + view.OriginColumn, 0, kGridColumns - 1);
  const int raisedY = y + cell.raiseOf(column);
  const int row = std::clamp(raisedY / cell.height + view.OriginRow, 0, kGridRows - 1);
  return {column, row};
}

Rect CellRect(const ViewState& view, int column, int row) {
  const CellGeometry cell = GeometryOf(view);
  const int left = (column - view.OriginColumn) * cell.width;
  const int top = (row - view.OriginRow) * cell.height - cell.raiseOf(column);
  return {left, top, cell.width, cell.height};
}

Rect FocusRect(const ViewState& view, int column, int row) {
  return CellRect(view, column, row).adjusted(0, 0, 1, 1);
}

HexCoord ZoomInOrigin(int selectedColumn, int selectedRow, const ViewState& view) {
  const int columnsLeftOfSelection = ShownColumns(view) / 2;
  const int rowsAboveSelection = (ShownRows(view) - 1) / 2;
  const int column = selectedColumn > columnsLeftOfSelection ? selectedColumn - columnsLeftOfSelection : 0;
  const int row = selectedRow > rowsAboveSelection ? selectedRow - rowsAboveSelection : 0;
  return {std::min(column, MaxOriginColumn(view)), std::min(row, MaxOriginRow(view))};
}

Rgb ShadedPixel(Rgb pixel) {
  return MakeRgb((RedOf(pixel) + RedOf(kBoundsShade)) / 2, (GreenOf(pixel) + GreenOf(kBoundsShade)) / 2,
                 (BlueOf(pixel) + BlueOf(kBoundsShade)) / 2);
}

Image PrepareAtlas(const Image& atlas) { return atlas.convertToFormat(Image::Format_RGB32); }

MapView::MapView(const MapGrid& grid, const ViewState& view, Image& picture, const Image& tiles, const Image& tiles2)
    : grid_(grid), view_(view), picture_(picture), tiles_(tiles), tiles2_(tiles2) {}

bool MapView::SetMapBounds(int columns, int rows) {
  if (columns == boundColumns_ && rows == boundRows_) return false;
  boundColumns_ = columns;
  boundRows_ = rows;
  return true;
}

const Image& MapView::shadedTiles() {
  if (shadedTiles_.isNull()) shadedTiles_ = Shaded(tiles_);
  return shadedTiles_;
}

const Image& MapView::shadedZoomedOutTiles() {
  const int scale = ZoomedOutScale(view_);
  if (shadedTiles2Scale_ != scale) {
    shadedTiles2_ = Shaded(zoomedOutTiles());
    shadedTiles2Scale_ = scale;
  }
  return shadedTiles2_;
}

void MapView::ToggleFocusRect(int column, int row) {
  if (column < 0 || row < 0) return;
  Canvas canvas(picture_);
  canvas.drawFocusRect(FocusRect(view_, column, row));
}

void MapView::RedrawHex(int column, int row) {
  Canvas canvas(picture_);
  drawCell(canvas, column, row);
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
}

void MapView::RedrawCells(const std::vector<HexCoord>& hexes) {
  Canvas canvas(picture_);
  for (const HexCoord& hex : hexes) drawCell(canvas, hex.column, hex.row);
}

void MapView::RedrawChanged(const std::vector<HexCoord>& hexes) {
  Canvas canvas(picture_);
  if (!view_.ZoomedIn) {
    // Small cells draw no lines: each cell is all its own.
    for (const HexCoord& hex : hexes) drawZoomedOutCell(canvas, hex.column, hex.row);
    return;
  }
  // A line reaches only into the next cell, so a cell shows its own hex and
  // its six neighbours; a changed hex alters its neighbours' rivers too.
  const auto inWindow = [this](int column, int row) {
    return column >= view_.OriginColumn && column < view_.OriginColumn + TouchedColumns(view_) &&
           row >= view_.OriginRow && row < view_.OriginRow + TouchedRows(view_);
  };
  std::array<std::array<bool, kGridRows>, kGridColumns> dirty{};
  const auto markWithNeighbours = [&](std::array<std::array<bool, kGridRows>, kGridColumns>& marks,
                                      int column, int row) {
    marks[column][row] = true;
    for (const Side side : kSides)
      if (const auto next = Neighbour(column, row, side)) marks[next->column][next->row] = true;
  };
  for (const HexCoord& hex : hexes)
    if (IsInGrid(hex.column, hex.row)) markWithNeighbours(dirty, hex.column, hex.row);
  std::array<std::array<bool, kGridRows>, kGridColumns> drawn{};
  bool any = false;
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      if (dirty[column][row] && inWindow(column, row)) {
        markWithNeighbours(drawn, column, row);
        any = true;
      }
  if (!any) return;

  if (scratch_.size() != picture_.size() || scratch_.format() != picture_.format())
    scratch_ = Image(picture_.size(), picture_.format());
  Canvas scratch(scratch_);
  const int columns = TouchedColumns(view_);
  const int rows = TouchedRows(view_);
  for (int row = view_.OriginRow; row < view_.OriginRow + rows; ++row)
    for (int column = view_.OriginColumn; column < view_.OriginColumn + columns; ++column)
      if (drawn[column][row]) drawZoomedInCell(scratch, column, row, /*keepRoadTest=*/false);
  for (int row = view_.OriginRow; row < view_.OriginRow + rows; ++row)
    for (int column = view_.OriginColumn; column < view_.OriginColumn + columns; ++column)
      if (dirty[column][row]) {
        const Rect cell = CellRect(view_, column, row) & picture_.rect();
        canvas.copyRect(cell.topLeft(), scratch_, cell);
      }
}

void MapView::RedrawView() {
  Canvas canvas(picture_);
  if (view_.ZoomedIn)
    redrawZoomedIn(canvas);
  else
    redrawZoomedOut(canvas);
}

void MapView::redrawZoomedIn(Canvas& canvas) {
  const CellGeometry& cell = kZoomedInCell;
  const int columns = TouchedColumns(view_);
  const int rows = TouchedRows(view_);
  const int right = columns * cell.width;
  const int bottom = rows * cell.height - cell.raise;  // the raised columns' last pixel row + 1
  if (bottom < picture_.height()) canvas.fillRect(Rect(0, bottom, right, picture_.height() - bottom), kBlack);
  // Row by row, left to right: each tile covers what earlier hexes drew
  // into its cell, while their line ends in earlier cells stay.
  for (int row = view_.OriginRow; row < view_.OriginRow + rows; ++row)
    for (int column = view_.OriginColumn; column < view_.OriginColumn + columns; ++column)
      drawZoomedInCell(canvas, column, row, /*keepRoadTest=*/false);
  if (right < picture_.width())
    canvas.fillRect(Rect(right, 0, picture_.width() - right, picture_.height()), kBlack);
}

void MapView::redrawZoomedOut(Canvas& canvas) {
  const CellGeometry cell = GeometryOf(view_);
  const int right = kGridColumns * cell.width;
  // No old picture may be left under the raised columns: their cells end
  // half a cell above the others, and below them lies no cell.
  const int bottom = kGridRows * cell.height - cell.raise;
  if (bottom < picture_.height()) canvas.fillRect(Rect(0, bottom, right, picture_.height() - bottom), kBlack);
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) drawZoomedOutCell(canvas, column, row);
  if (right < picture_.width())
    canvas.fillRect(Rect(right, 0, picture_.width() - right, picture_.height()), kBlack);
}

const Image& MapView::zoomedOutTiles() {
  const int scale = ZoomedOutScale(view_);
  if (scale == 1) return tiles2_;
  if (scaledTiles2Scale_ != scale) {
    scaledTiles2_ = ScaledByWholePixels(tiles2_, scale);
    scaledTiles2Scale_ = scale;
  }
  return scaledTiles2_;
}

// The single-hex redraw leaves Ocean's roads undrawn, the full redraw draws
// them: the two passes have always differed there and users know it.
void MapView::drawZoomedInCell(Canvas& canvas, int column, int row, bool keepRoadTest) {
  const int code = grid_.terrain(column, row);
  const std::uint8_t mask = grid_.roadMask(column, row);
  const Rect cell = CellRect(view_, column, row);
  const bool shaded = isShaded(column, row);
  canvas.copyRect(cell.topLeft(), shaded ? shadedTiles() : tiles_, AtlasCell(code, kZoomedInCell));
  if (IsInRiverSet(code))
    DrawRiverLines(cell.left(), cell.top(), column, row, kZoomedInCell.raiseOf(column), canvas,
                   shaded ? ShadedPixel(kRiverColour) : kRiverColour, grid_);
  if (mask != 0 && (!keepRoadTest || IsInRoadKeepSet(code)))
    DrawRoadSpokes(cell.left(), cell.top(), mask, canvas, shaded ? ShadedPixel(kRoadColour) : kRoadColour);
}

void MapView::drawCell(Canvas& canvas, int column, int row) {
  if (view_.ZoomedIn)
    drawZoomedInCell(canvas, column, row, /*keepRoadTest=*/true);
  else
    drawZoomedOutCell(canvas, column, row);
}

void MapView::drawZoomedOutCell(Canvas& canvas, int column, int row) {
  const int code = grid_.terrain(column, row);
  const int scale = ZoomedOutScale(view_);
  const Image& tiles = isShaded(column, row) ? shadedZoomedOutTiles() : zoomedOutTiles();
  const Rect cell = CellRect(view_, column, row);
  canvas.copyRect(cell.topLeft(), tiles, AtlasCell(code, GeometryOf(view_)));
  if (grid_.roadMask(column, row) != 0) {
    const Rect marker(kRoadMarkerSource.x() * scale, kRoadMarkerSource.y() * scale, kRoadMarkerSource.width() * scale,
                      kRoadMarkerSource.height() * scale);
    canvas.copyRect(cell.topLeft() + Point(kRoadMarkerOffset * scale, kRoadMarkerOffset * scale), tiles, marker);
  }
}

}  // namespace kxc2
