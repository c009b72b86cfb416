#pragma once

#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"
#include "editing/view_state.h"

namespace kxc2 {

// The hexes under a pointer that moves from one pixel of the view to
// another, in the order it enters them, the first pixel's hex first. The
// walk goes pixel by pixel in steps across one edge at a time, so each hex
// shares an edge with the one before it however far the pointer jumped
// between two events. Pixels outside the view touch no hex.
std::vector<HexCoord> HexesAlongSegment(const ViewState& view, Point from, Point to);

// The connected area of hexes that share start's terrain, through the
// grid's hex neighbours, start first.
std::vector<HexCoord> ConnectedArea(const MapGrid& grid, HexCoord start);

}  // namespace kxc2
