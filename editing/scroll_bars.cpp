#include "editing/scroll_bars.h"

#include <algorithm>

#include "editing/map_view.h"

namespace kxc2 {

ScrollBars ScrollBarsOf(const ViewState& view) {
  ScrollBars bars;
  bars.horizontal.maximum = MaxOriginColumn(view);
  bars.vertical.maximum = MaxOriginRow(view);
  bars.horizontal.pageStep = ShownColumns(view) - 1;
  bars.vertical.pageStep = ShownRows(view) - 1;
  bars.horizontal.value = view.ZoomedIn ? view.OriginColumn : view.KeptColumn;
  bars.vertical.value = view.ZoomedIn ? view.OriginRow : view.KeptRow;
  bars.horizontal.enabled = bars.vertical.enabled = view.ZoomedIn;
  return bars;
}

void KeepOriginInRange(ViewState& view) {
  int& column = view.ZoomedIn ? view.OriginColumn : view.KeptColumn;
  int& row = view.ZoomedIn ? view.OriginRow : view.KeptRow;
  column = std::min(column, MaxOriginColumn(view));
  row = std::min(row, MaxOriginRow(view));
}

void ScrollTo(ViewState& view, int column, int row) {
  view.OriginColumn = column;
  view.OriginRow = row;
}

void ZoomIn(ViewState& view) {
  view.ZoomedIn = true;
  const HexCoord origin = ZoomInOrigin(view.SelectedColumn, view.SelectedRow, view);
  ScrollTo(view, origin.column, origin.row);
}

void ZoomOut(ViewState& view) {
  if (view.ZoomedIn) {
    view.KeptColumn = view.OriginColumn;
    view.KeptRow = view.OriginRow;
  }
  view.ZoomedIn = false;
  ScrollTo(view, 0, 0);
}

void ShowFromCorner(ViewState& view) {
  ScrollTo(view, 0, 0);
  view.KeptColumn = view.KeptRow = 0;
}

}  // namespace kxc2
