#pragma once

#include <gtest/gtest.h>

#include "core/map_grid.h"
#include "draw/image.h"
#include "editing/view_state.h"
#include "tests/support/busy_map.h"

namespace kxc2::test {

inline constexpr Rgb kRiverRgb = MakeRgb(0, 200, 255);
inline constexpr Rgb kRoadRgb = MakeRgb(255, 200, 0);
inline constexpr Rgb kOceanRgb = MakeRgb(96, 0, 255);
inline constexpr Rgb kMarkerRgb = MakeRgb(255, 0, 0);
inline constexpr Rgb kBlackRgb = MakeRgb(0, 0, 0);

// What the view should show without any frame, drawn by a view of its own.
Image FullRedrawImage(const MapGrid& grid, ViewState view);
// picture with hex (column, row) redrawn and no frame added.
Image HexRedrawImage(Image picture, const MapGrid& grid, ViewState view, int column, int row);
// picture with the frame of the view's selection inverted once.
Image FramedImage(Image picture, const ViewState& view);

// Equal pixels, or the number of differing pixels and the first of them.
::testing::AssertionResult SameImage(const Image& actual, const Image& expected);

// Window sizes and what the zoomed-in view shows at each, for the core's
// view tests and the editor's window tests.
struct SizeCase {
  const char* name;
  Size view;
  int columns, rows, maxOriginColumn, maxOriginRow, scale;
};
inline constexpr SizeCase kSizes[] = {
    {"first size", {616, 475}, 14, 10, 31, 30, 1},
    {"1400 x 900 window", {1221, 817}, 27, 16, 18, 24, 1},
    {"maximised 1920 x 1080", {1741, 997}, 39, 20, 6, 20, 2},
    {"larger than the grid", {2500, 2000}, 45, 40, 0, 0, 4},
};

// The RGB of pixel (x, y) of the built-in atlas cell of code at a zoom level.
Rgb AtlasPixel(bool zoomedIn, int code, int x, int y);

}  // namespace kxc2::test
