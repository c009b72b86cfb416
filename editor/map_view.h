#pragma once

#include <QImage>
#include <QRect>
#include <vector>

#include "core/map_grid.h"
#include "editor/view_state.h"

namespace kxc2 {

class Canvas;

inline constexpr int kViewWidth = 616;
inline constexpr int kViewHeight = 475;
inline constexpr int kWindowColumns = 14;  // hexes across the zoomed-in view
inline constexpr int kWindowRows = 10;
inline constexpr int kMaxOriginColumn = kGridColumns - kWindowColumns;  // 31
inline constexpr int kMaxOriginRow = kGridRows - kWindowRows;           // 30

// Cell size and the raise of an even column at one zoom level.
struct CellGeometry {
  int width;
  int height;
  int raise;  // of an even column; odd columns are not raised
  int raiseOf(int column) const { return IsRaised(column) ? raise : 0; }
};

inline constexpr CellGeometry kZoomedInCell{44, 50, 25};
inline constexpr CellGeometry kZoomedOutCell{12, 12, 6};

constexpr const CellGeometry& GeometryOf(const ViewState& view) {
  return view.ZoomedIn ? kZoomedInCell : kZoomedOutCell;
}

// The hex under a pixel of the view; always a hex of the grid.
HexCoord PixelToHex(const ViewState& view, int x, int y);
// Where hex (column, row) is drawn under the view's zoom and origin.
QRect CellRect(const ViewState& view, int column, int row);
// One pixel wider and taller than the cell: its right and bottom edges lie
// on the neighbours' first pixels.
QRect FocusRect(const ViewState& view, int column, int row);
// The origin that puts the selected hex in the eighth column and fifth row
// of the zoomed-in window where the grid's edges allow.
HexCoord ZoomInOrigin(int selectedColumn, int selectedRow);

// Draws the map into the picture that the view's image control shows. Holds
// references only: the grid, the view state, the picture and the atlases
// belong to the main window.
class MapView {
 public:
  // Both atlases must be RGB32 (see PrepareAtlas) and the picture RGB32.
  MapView(const MapGrid& grid, const ViewState& view, QImage& picture, const QImage& tiles,
          const QImage& tiles2);

  // Inverts the dotted frame of a hex; a second call removes it. Nothing for
  // a negative column or row.
  void ToggleFocusRect(int column, int row);
  // One cell, then the selection's frame.
  void RedrawHex(int column, int row);
  // Every cell of the zoom level; the frame is the caller's business.
  void RedrawView();
  // The cells of these hexes as RedrawHex paints them, without the frame.
  void RedrawCells(const std::vector<HexCoord>& hexes);
  // Whatever a change to these hexes alters, painted exactly as RedrawView
  // would paint it: their cells and their neighbours' (whose river lines
  // follow their water), nothing else. The frame is the caller's business.
  void RedrawChanged(const std::vector<HexCoord>& hexes);

 private:
  void drawZoomedInCell(Canvas& canvas, int column, int row, bool keepRoadTest);
  void drawZoomedOutCell(Canvas& canvas, int column, int row);
  void drawCell(Canvas& canvas, int column, int row);

  const MapGrid& grid_;
  const ViewState& view_;
  QImage& picture_;
  const QImage& tiles_;
  const QImage& tiles2_;
  // RedrawChanged paints the cells around a change here first, in the full
  // redraw's order, and copies only the changed cells over.
  QImage scratch_;
};

// The atlas in the picture's format, so cells copy without conversion.
QImage PrepareAtlas(const QImage& atlas);

}  // namespace kxc2
