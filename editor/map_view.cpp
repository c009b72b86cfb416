#include "editor/map_view.h"

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
constexpr QRect kRoadMarkerSource{57, 45, 2, 2};
constexpr int kRoadMarkerOffset = 3;
constexpr int kZoomedOutGridWidth = kGridColumns * 12;  // 540
constexpr std::array<Side, 6> kSides = {Side::North,     Side::NorthEast, Side::SouthEast,
                                        Side::South,     Side::SouthWest, Side::NorthWest};

const QRgb kRiverColour = ColorFromBgr(0x00FFC800);
const QRgb kRoadColour = ColorFromBgr(0x0000C8FF);
const QRgb kBlack = ColorFromBgr(0x00000000);

QRect AtlasCell(int code, const CellGeometry& cell) {
  const int index = code < kAtlasCells ? code : kNeutralCell;
  return {cell.width * (index % kAtlasColumns), cell.height * (index / kAtlasColumns), cell.width,
          cell.height};
}

}  // namespace

HexCoord PixelToHex(const ViewState& view, int x, int y) {
  const CellGeometry& cell = GeometryOf(view);
  const int column = std::clamp(x / cell.width + view.OriginColumn, 0, kGridColumns - 1);
  const int raisedY = y + cell.raiseOf(column);
  const int row = std::clamp(raisedY / cell.height + view.OriginRow, 0, kGridRows - 1);
  return {column, row};
}

QRect CellRect(const ViewState& view, int column, int row) {
  const CellGeometry& cell = GeometryOf(view);
  const int left = (column - view.OriginColumn) * cell.width;
  const int top = (row - view.OriginRow) * cell.height - cell.raiseOf(column);
  return {left, top, cell.width, cell.height};
}

QRect FocusRect(const ViewState& view, int column, int row) {
  return CellRect(view, column, row).adjusted(0, 0, 1, 1);
}

HexCoord ZoomInOrigin(int selectedColumn, int selectedRow) {
  constexpr int kColumnsLeftOfSelection = 7;
  constexpr int kRowsAboveSelection = 4;
  const int column = selectedColumn > kColumnsLeftOfSelection
                         ? selectedColumn - kColumnsLeftOfSelection
                         : 0;
  const int row = selectedRow > kRowsAboveSelection ? selectedRow - kRowsAboveSelection : 0;
  return {std::min(column, kMaxOriginColumn), std::min(row, kMaxOriginRow)};
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
    return column >= view_.OriginColumn && column < view_.OriginColumn + kWindowColumns &&
           row >= view_.OriginRow && row < view_.OriginRow + kWindowRows;
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
    scratch_ = QImage(picture_.size(), picture_.format());
  Canvas scratch(scratch_);
  for (int row = view_.OriginRow; row < view_.OriginRow + kWindowRows; ++row)
    for (int column = view_.OriginColumn; column < view_.OriginColumn + kWindowColumns; ++column)
      if (drawn[column][row]) drawZoomedInCell(scratch, column, row, /*keepRoadTest=*/false);
  for (int row = view_.OriginRow; row < view_.OriginRow + kWindowRows; ++row)
    for (int column = view_.OriginColumn; column < view_.OriginColumn + kWindowColumns; ++column)
      if (dirty[column][row]) {
        const QRect cell = CellRect(view_, column, row) & picture_.rect();
        canvas.copyRect(cell.topLeft(), scratch_, cell);
      }
}

void MapView::RedrawView() {
  Canvas canvas(picture_);
  if (view_.ZoomedIn) {
    // Row by row, left to right: each tile covers what earlier hexes drew
    // into its cell, while their line ends in earlier cells stay.
    for (int row = view_.OriginRow; row < view_.OriginRow + kWindowRows; ++row)
      for (int column = view_.OriginColumn; column < view_.OriginColumn + kWindowColumns; ++column)
        drawZoomedInCell(canvas, column, row, /*keepRoadTest=*/false);
    return;
  }
  // No old picture may be left under the raised columns: their cells reach
  // only to y 473, so the picture's last row there lies under no cell.
  canvas.fillRect(QRect(0, kViewHeight - 1, kZoomedOutGridWidth, 1), kBlack);
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) drawZoomedOutCell(canvas, column, row);
  canvas.fillRect(QRect(QPoint(kZoomedOutGridWidth, 0),
                        QPoint(picture_.width() - 1, picture_.height() - 1)),
                  kBlack);
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

void MapView::drawCell(Canvas& canvas, int column, int row) {
  if (view_.ZoomedIn)
    drawZoomedInCell(canvas, column, row, /*keepRoadTest=*/true);
  else
    drawZoomedOutCell(canvas, column, row);
}

void MapView::drawZoomedOutCell(Canvas& canvas, int column, int row) {
  const int code = grid_.terrain(column, row);
  const QRect cell = CellRect(view_, column, row);
  canvas.copyRect(cell.topLeft(), tiles2_, AtlasCell(code, kZoomedOutCell));
  if (grid_.roadMask(column, row) != 0)
    canvas.copyRect(cell.topLeft() + QPoint(kRoadMarkerOffset, kRoadMarkerOffset), tiles2_,
                    kRoadMarkerSource);
}

}  // namespace kxc2
