#pragma once

#include <cstdint>

#include "core/map_grid.h"
#include "draw/canvas.h"

namespace kxc2 {

// Lines from the cell centre (x + 22, y + 25) towards each existing neighbour
// whose terrain holds water. raised: non-zero for an even column.
void DrawRiverLines(int x, int y, int column, int row, int raised, Canvas& canvas, Rgb colour,
                    const MapGrid& grid);

// One spoke per direction bit of mask; bits 2 and 6 are ignored.
void DrawRoadSpokes(int x, int y, std::uint8_t mask, Canvas& canvas, Rgb colour);

}  // namespace kxc2
