#include "editing/paint_gestures.h"

#include <array>
#include <cstdlib>

#include "editing/map_view.h"

namespace kxc2 {

std::vector<HexCoord> HexesAlongSegment(const ViewState& view, Point from, Point to) {
  std::vector<HexCoord> hexes;
  const auto visit = [&](Point pixel) {
    // Past the view's edge the pointer is over no hex the view shows.
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= view.ViewWidth || pixel.y() >= view.ViewHeight) return;
    const HexCoord hex = PixelToHex(view, pixel.x(), pixel.y());
    if (hexes.empty() || !(hexes.back() == hex)) hexes.push_back(hex);
  };
  // A line walk that moves in x or in y at each step, never both: the pixels
  // touch by an edge, and so do the hexes they fall in.
  const int dx = std::abs(to.x() - from.x());
  const int dy = std::abs(to.y() - from.y());
  const int stepX = to.x() > from.x() ? 1 : -1;
  const int stepY = to.y() > from.y() ? 1 : -1;
  Point pixel = from;
  visit(pixel);
  for (int i = 0; i < dx + dy; ++i) {
    // Step in x while the line crosses the next vertical pixel edge before
    // the next horizontal one: (x + 1/2) / dx < (y + 1/2) / dy.
    const long long takenX = std::abs(pixel.x() - from.x());
    const long long takenY = std::abs(pixel.y() - from.y());
    const bool moveX = takenY >= dy || (takenX < dx && (2 * takenX + 1) * dy < (2 * takenY + 1) * dx);
    pixel += moveX ? Point(stepX, 0) : Point(0, stepY);
    visit(pixel);
  }
  return hexes;
}

std::vector<HexCoord> ConnectedArea(const MapGrid& grid, HexCoord start) {
  std::vector<HexCoord> area;
  if (!IsInGrid(start.column, start.row)) return area;
  const std::uint8_t code = grid.terrain(start.column, start.row);
  std::array<bool, kGridColumns * kGridRows> seen{};
  const auto mark = [&](HexCoord hex) {
    bool& flag = seen[std::size_t(hex.column * kGridRows + hex.row)];
    if (flag || grid.terrain(hex.column, hex.row) != code) return;
    flag = true;
    area.push_back(hex);
  };
  mark(start);
  // The area itself is the queue: breadth first, nearest hexes first.
  for (std::size_t next = 0; next < area.size(); ++next) {
    const HexCoord hex = area[next];
    for (const Side side : {Side::North, Side::NorthEast, Side::SouthEast, Side::South, Side::SouthWest,
                            Side::NorthWest})
      if (const auto neighbour = Neighbour(hex.column, hex.row, side)) mark(*neighbour);
  }
  return area;
}

}  // namespace kxc2
