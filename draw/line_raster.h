#pragma once

#include <vector>

#include "draw/image.h"

namespace kxc2 {

// One row of covered pixels, left..right inclusive.
struct LineSpan {
  int y = 0;
  int left = 0;
  int right = 0;
  friend bool operator==(const LineSpan&, const LineSpan&) = default;
};

// The pixels inside a clip of size clip (origin 0,0) that a solid line of the
// given width with round ends covers: every pixel whose centre lies within
// width / 2 of the segment. Odd widths centre the line on the pixels' centres,
// even widths on the corner between them, so a width-w line across a row is w
// pixels thick. Spans come out top to bottom, one per covered row.
void RasteriseLine(Point from, Point to, int width, Size clip, std::vector<LineSpan>& spans);

}  // namespace kxc2
