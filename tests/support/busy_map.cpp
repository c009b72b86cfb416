#include "tests/support/busy_map.h"

#include "core/terrain.h"

namespace kxc2::test {

void FillBusyMap(MapGrid& grid) {
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row) {
      grid.setTerrain(column, row, std::uint8_t((column * 7 + row * 3) % kTerrainCount));
      if ((column + row) % 3 == 0) grid.setRoadMask(column, row, std::uint8_t(column * 31 + row * 17));
    }
  // Water winding through the middle, so river lines join up.
  for (int row = 0; row < kGridRows; ++row) {
    grid.setTerrain(5 + row % 3, row, kRiver);
    grid.setTerrain(20, row, row % 2 == 0 ? kStream : kImpassableRiver);
  }
  for (int column = 0; column < kGridColumns; ++column) grid.setTerrain(column, 12, kOcean);
  grid.setTerrain(3, 3, 17);
  grid.setTerrain(4, 3, 19);
  grid.setTerrain(9, 9, 200);
}

}  // namespace kxc2::test
