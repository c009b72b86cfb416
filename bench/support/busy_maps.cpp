#include "bench/support/busy_maps.h"

#include <random>

#include "core/terrain.h"

namespace kxc2::bench {

MapDocument PaintedBusyMap() {
  MapDocument document;
  document.header = {45, 44, 39};
  std::mt19937 random(1);
  std::uniform_int_distribution<int> pick(0, 9);
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row) {
      const int roll = pick(random);
      const int terrain = roll < 6 ? kRiver : roll == 6 ? kStream : roll == 7 ? kOcean : roll;
      document.grid.setTerrain(column, row, static_cast<std::uint8_t>(terrain));
      document.grid.setRoadMask(column, row, 0xFF);
    }
  return document;
}

}  // namespace kxc2::bench
