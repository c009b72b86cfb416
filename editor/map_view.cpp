#include "editor/map_view.h"

#include <algorithm>

#include "core/terrain.h"
#include "draw/canvas.h"
#include "draw/overlays.h"

namespace kxc2 {
namespace {

constexpr int kAtlasColumns = 5;
constexpr int kAtlasCells = 20;
// Codes past the atlases' twenty cells (foreign files only) show plain ground.
constexpr int kNeutralCell = 17;
constexpr QRect kRoadMarkerSource{57, 45, 2, 2};
constexpr int kRoadMarkerOffset = 3;
// The whole map zoomed out at scale 1: 540 wide; the raised columns end at
// 474, the others at 480.
constexpr int kZoomedOutGridWidth = kGridColumns * 12;
constexpr int kZoomedOutGridHeight = kGridRows * 12;

const QRgb kRiverColour = ColorFromBgr(0x00FFC800);
const QRgb kRoadColour = ColorFromBgr(0x0000C8FF);
const QRgb kBlack = ColorFromBgr(0x00000000);

QRect AtlasCell(int code, const CellGeometry& cell) {
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

QRect CellRect(const ViewState& view, int column, int row) {
  const CellGeometry cell = GeometryOf(view);
  const int left = (column - view.OriginColumn) * cell.width;
  const int top = (row - view.OriginRow) * cell.height - cell.raiseOf(column);
  return {left, top, cell.width, cell.height};
}

QRect FocusRect(const ViewState& view, int column, int row) {
  return CellRect(view, column, row).adjusted(0, 0, 1, 1);
}

HexCoord ZoomInOrigin(int selectedColumn, int selectedRow, const ViewState& view) {
  const int columnsLeftOfSelection = ShownColumns(view) / 2;
  const int rowsAboveSelection = (ShownRows(view) - 1) / 2;
  const int column = selectedColumn > columnsLeftOfSelection ? selectedColumn - columnsLeftOfSelection : 0;
  const int row = selectedRow > rowsAboveSelection ? selectedRow - rowsAboveSelection : 0;
  return {std::min(column, MaxOriginColumn(view)), std::min(row, MaxOriginRow(view))};
}

QImage PrepareAtlas(const QImage& atlas) { return atlas.convertToFormat(QImage::Format_RGB32); }

MapView::MapView(const MapGrid& grid, const ViewState& view, QImage& picture, const QImage& tiles,
                 const QImage& tiles2)
    : grid_(grid), view_(view), picture_(picture), tiles_(tiles), tiles2_(tiles2) {}

void MapView::ToggleFocusRect(int column, int row) {
  if (column < 0 || row < 0) return;
  Canvas canvas(picture_);
  canvas.drawFocusRect(FocusRect(view_, column, row));
}

void MapView::RedrawHex(int column, int row) {
  Canvas canvas(picture_);
  if (view_.ZoomedIn)
    drawZoomedInCell(canvas, column, row, /*keepRoadTest=*/true);
  else
    drawZoomedOutCell(canvas, column, row);
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
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
  // Every cell the picture touches, the partly shown ones at the right and
  // bottom edges included; the grid's end may leave black beyond it.
  const int columns = std::min(kGridColumns - view_.OriginColumn,
                               (view_.ViewWidth + cell.width - 1) / cell.width);
  const int rows = std::min(kGridRows - view_.OriginRow,
                            (view_.ViewHeight + cell.raise + cell.height - 1) / cell.height);
  const int right = columns * cell.width;
  const int bottom = rows * cell.height - cell.raise;  // the raised columns' last pixel row + 1
  if (bottom < picture_.height()) canvas.fillRect(QRect(0, bottom, right, picture_.height() - bottom), kBlack);
  // Row by row, left to right: each tile covers what earlier hexes drew
  // into its cell, while their line ends in earlier cells stay.
  for (int row = view_.OriginRow; row < view_.OriginRow + rows; ++row)
    for (int column = view_.OriginColumn; column < view_.OriginColumn + columns; ++column)
      drawZoomedInCell(canvas, column, row, /*keepRoadTest=*/false);
  if (right < picture_.width())
    canvas.fillRect(QRect(right, 0, picture_.width() - right, picture_.height()), kBlack);
}

void MapView::redrawZoomedOut(Canvas& canvas) {
  const CellGeometry cell = GeometryOf(view_);
  const int right = kGridColumns * cell.width;
  // No old picture may be left under the raised columns: their cells end
  // half a cell above the others, and below them lies no cell.
  const int bottom = kGridRows * cell.height - cell.raise;
  if (bottom < picture_.height()) canvas.fillRect(QRect(0, bottom, right, picture_.height() - bottom), kBlack);
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) drawZoomedOutCell(canvas, column, row);
  if (right < picture_.width())
    canvas.fillRect(QRect(right, 0, picture_.width() - right, picture_.height()), kBlack);
}

const QImage& MapView::zoomedOutTiles() {
  const int scale = ZoomedOutScale(view_);
  if (scale == 1) return tiles2_;
  if (scaledTiles2Scale_ != scale) {
    scaledTiles2_ = tiles2_.scaled(tiles2_.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaledTiles2Scale_ = scale;
  }
  return scaledTiles2_;
}

// The single-hex redraw leaves Ocean's roads undrawn, the full redraw draws
// them: the two passes have always differed there and users know it.
void MapView::drawZoomedInCell(Canvas& canvas, int column, int row, bool keepRoadTest) {
  const int code = grid_.terrain(column, row);
  const std::uint8_t mask = grid_.roadMask(column, row);
  const QRect cell = CellRect(view_, column, row);
  canvas.copyRect(cell.topLeft(), tiles_, AtlasCell(code, kZoomedInCell));
  if (IsInRiverSet(code))
    DrawRiverLines(cell.left(), cell.top(), column, row, kZoomedInCell.raiseOf(column), canvas,
                   kRiverColour, grid_);
  if (mask != 0 && (!keepRoadTest || IsInRoadKeepSet(code)))
    DrawRoadSpokes(cell.left(), cell.top(), mask, canvas, kRoadColour);
}

void MapView::drawZoomedOutCell(Canvas& canvas, int column, int row) {
  const int code = grid_.terrain(column, row);
  const int scale = ZoomedOutScale(view_);
  const QImage& tiles = zoomedOutTiles();
  const QRect cell = CellRect(view_, column, row);
  canvas.copyRect(cell.topLeft(), tiles, AtlasCell(code, GeometryOf(view_)));
  if (grid_.roadMask(column, row) != 0) {
    const QRect marker(kRoadMarkerSource.topLeft() * scale, kRoadMarkerSource.size() * scale);
    canvas.copyRect(cell.topLeft() + QPoint(kRoadMarkerOffset, kRoadMarkerOffset) * scale, tiles, marker);
  }
}

}  // namespace kxc2
