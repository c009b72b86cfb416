#pragma once

#include "core/map_grid.h"

namespace kxc2::bench {

// A 44 x 39 map numbered 45 with rivers and roads everywhere: most hexes are
// river terrain joined to water on every side and every hex has all six
// roads, so painting and encoding meet their most crowded pictures.
MapDocument PaintedBusyMap();

}  // namespace kxc2::bench
