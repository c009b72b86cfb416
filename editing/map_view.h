#pragma once

#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"
#include "editing/view_state.h"

namespace kxc2 {

class Canvas;

// The view at the window's first size; a larger window gives a larger view.
inline constexpr int kViewWidth = 616;
inline constexpr int kViewHeight = 475;
inline constexpr int kWindowColumns = 14;  // hexes across the zoomed-in view
inline constexpr int kWindowRows = 10;

// Cell size and the raise of an even column at one zoom level.
struct CellGeometry {
  int width;
  int height;
  int raise;  // of an even column; odd columns are not raised
  int raiseOf(int column) const { return IsRaised(column) ? raise : 0; }
};

inline constexpr CellGeometry kZoomedInCell{44, 50, 25};
inline constexpr CellGeometry kZoomedOutCell{12, 12, 6};

// Everything that depends on the view's size is worked out here from the
// ViewState's ViewWidth and ViewHeight, so that 616 x 475 gives the figures
// of the first size: 14 x 10 hexes, origins up to 31 and 30, scale 1.

// Whole hexes the zoomed-in view shows across and down; a raised column's
// hexes are the whole ones in the last row.
int ShownColumns(const ViewState& view);
int ShownRows(const ViewState& view);
int MaxOriginColumn(const ViewState& view);
int MaxOriginRow(const ViewState& view);
// Columns and rows of cells from the origin that the zoomed-in picture
// touches, partly shown ones at its right and bottom edges included.
int TouchedColumns(const ViewState& view);
int TouchedRows(const ViewState& view);
// The largest whole-number scale of the 12-pixel cells at which the whole
// map fits the zoomed-out view; never below 1.
int ZoomedOutScale(const ViewState& view);

CellGeometry GeometryOf(const ViewState& view);

// The hex under a pixel of the view; always a hex of the grid.
HexCoord PixelToHex(const ViewState& view, int x, int y);
// Where hex (column, row) is drawn under the view's zoom and origin.
Rect CellRect(const ViewState& view, int column, int row);
// One pixel wider and taller than the cell: its right and bottom edges lie
// on the neighbours' first pixels.
Rect FocusRect(const ViewState& view, int column, int row);
// The origin that puts the selected hex in the middle of the zoomed-in view
// (the eighth column and fifth row at the first size) where the grid's edges
// allow.
HexCoord ZoomInOrigin(int selectedColumn, int selectedRow, const ViewState& view = {});

// Hexes beyond the map's columns and rows are drawn halfway toward this
// grey: dark enough to tell apart, light enough to keep the terrain.
inline constexpr Rgb kBoundsShade = MakeRgb(0x30, 0x30, 0x30);
Rgb ShadedPixel(Rgb pixel);

// Draws the map into the picture that the view's image control shows. Holds
// references only: the grid, the view state, the picture and the atlases
// belong to the main window.
class MapView {
 public:
  // Both atlases must be RGB32 (see PrepareAtlas) and the picture RGB32.
  MapView(const MapGrid& grid, const ViewState& view, Image& picture, const Image& tiles, const Image& tiles2);

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

  // Hexes in a column >= columns or a row >= rows draw shaded, their lines
  // included; kGridColumns x kGridRows shades none. Draws nothing itself;
  // returns whether the bounds changed, so the caller knows to redraw.
  bool SetMapBounds(int columns, int rows);

 private:
  void drawZoomedInCell(Canvas& canvas, int column, int row, bool keepRoadTest);
  void drawZoomedOutCell(Canvas& canvas, int column, int row);
  void redrawZoomedIn(Canvas& canvas);
  void redrawZoomedOut(Canvas& canvas);
  // The zoomed-out atlas at the view's scale, nearest-pixel, so it stays crisp.
  const Image& zoomedOutTiles();
  void drawCell(Canvas& canvas, int column, int row);
  bool isShaded(int column, int row) const { return column >= boundColumns_ || row >= boundRows_; }
  const Image& shadedTiles();
  const Image& shadedZoomedOutTiles();

  const MapGrid& grid_;
  const ViewState& view_;
  Image& picture_;
  const Image& tiles_;
  const Image& tiles2_;
  Image scaledTiles2_;
  int scaledTiles2Scale_ = 1;
  int boundColumns_ = kGridColumns;
  int boundRows_ = kGridRows;
  // Made on first use. A shaded hex copies its tile from these and draws its
  // lines shaded, so every redraw order gives the full redraw's pixels.
  Image shadedTiles_;
  Image shadedTiles2_;
  int shadedTiles2Scale_ = 0;
  // RedrawChanged paints the cells around a change here first, in the full
  // redraw's order, and copies only the changed cells over.
  Image scratch_;
};

// The atlas in the picture's format, so cells copy without conversion.
Image PrepareAtlas(const Image& atlas);

}  // namespace kxc2
