#pragma once

#include "editing/view_state.h"

namespace kxc2 {

// What a scroll bar shows: its range, page, position and whether it moves.
struct ScrollBarState {
  int minimum = 0;
  int maximum = 0;
  int pageStep = 0;
  int value = 0;
  bool enabled = true;
  friend bool operator==(const ScrollBarState&, const ScrollBarState&) = default;
};

struct ScrollBars {
  ScrollBarState horizontal;  // the origin's column
  ScrollBarState vertical;    // the origin's row
  friend bool operator==(const ScrollBars&, const ScrollBars&) = default;
};

// The bars as the view wants them after any change. Zoomed out they are
// disabled and stay at the zoomed-in origin that was left.
ScrollBars ScrollBarsOf(const ViewState& view);

// The changes that move the view; each leaves ScrollBarsOf right.
// After a change of the view's size: an origin past the new range moves
// back, so the view stays filled.
void KeepOriginInRange(ViewState& view);
void ScrollTo(ViewState& view, int column, int row);
// The selected hex in the middle where the grid's edges allow.
void ZoomIn(ViewState& view);
void ZoomOut(ViewState& view);
// A new or opened map starts at the top left corner, whatever the zoom.
void ShowFromCorner(ViewState& view);

}  // namespace kxc2
