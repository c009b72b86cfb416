#pragma once

#include "core/map_grid.h"

namespace kxc2::test {

// Every terrain code, river bands and roads of every kind, and a few codes
// that only foreign files bring. The editor's benchmarks draw it too, so
// their figures are for the pictures the view tests check.
void FillBusyMap(MapGrid& grid);

}  // namespace kxc2::test
