#include "draw/line_raster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace kxc2 {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Pixels(Point from, Point to, int width, Size clip) {
  std::vector<LineSpan> spans;
  RasteriseLine(from, to, width, clip, spans);
  PixelSet pixels;
  for (const LineSpan& s : spans)
    for (int x = s.left; x <= s.right; ++x) pixels.insert({x, s.y});
  return pixels;
}

// Independent reference: pixel centres within width / 2 of the segment,
// the segment on pixel centres for odd widths and on pixel corners for even.
PixelSet Reference(Point from, Point to, int width, Size clip) {
  const double shift = width % 2 ? 0.5 : 0.0;
  const double ax = from.x() + shift, ay = from.y() + shift, bx = to.x() + shift, by = to.y() + shift;
  PixelSet pixels;
  for (int y = 0; y < clip.height(); ++y)
    for (int x = 0; x < clip.width(); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double dx = bx - ax, dy = by - ay;
      const double len2 = dx * dx + dy * dy;
      double t = len2 == 0 ? 0 : ((px - ax) * dx + (py - ay) * dy) / len2;
      t = std::fmax(0.0, std::fmin(1.0, t));
      const double ex = ax + t * dx - px, ey = ay + t * dy - py;
      if (ex * ex + ey * ey <= width * width / 4.0 + 1e-9) pixels.insert({x, y});
    }
  return pixels;
}

struct LineCase {
  Point from, to;
  int width;
};

class RasteriseAgainstReference : public ::testing::TestWithParam<LineCase> {};

TEST_P(RasteriseAgainstReference, CoversExactlyThePixelsWithinHalfTheWidth) {
  const LineCase& c = GetParam();
  const Size clip(60, 70);
  EXPECT_EQ(Pixels(c.from, c.to, c.width, clip), Reference(c.from, c.to, c.width, clip));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RasteriseAgainstReference,
    ::testing::Values(LineCase{{22, 25}, {22, -1}, 6}, LineCase{{22, 25}, {22, 50}, 4},
                      LineCase{{22, 25}, {45, 12}, 5}, LineCase{{22, 25}, {45, 38}, 3},
                      LineCase{{22, 25}, {-1, 38}, 5}, LineCase{{22, 25}, {-1, 12}, 3},
                      LineCase{{5, 5}, {50, 9}, 1}, LineCase{{30, 30}, {30, 30}, 5},
                      LineCase{{-20, -30}, {80, 90}, 6}, LineCase{{10, 60}, {55, 2}, 7},
                      LineCase{{0, 0}, {59, 69}, 2}));

struct ThicknessCase {
  int width;
  int top, bottom;  // rows a horizontal line at y = 20 covers
};

class HorizontalThickness : public ::testing::TestWithParam<ThicknessCase> {};

TEST_P(HorizontalThickness, IsTheWidthInRows) {
  const ThicknessCase& c = GetParam();
  std::vector<LineSpan> spans;
  RasteriseLine({10, 20}, {40, 20}, c.width, {60, 60}, spans);
  ASSERT_EQ(static_cast<int>(spans.size()), c.width);
  EXPECT_EQ(spans.front().y, c.top);
  EXPECT_EQ(spans.back().y, c.bottom);
  // Round ends: the middle row reaches furthest.
  const LineSpan& middle = spans[spans.size() / 2];
  EXPECT_LE(spans.front().left, spans.front().right);
  EXPECT_GE(spans.front().left, middle.left);
  EXPECT_LE(spans.front().right, middle.right);
}

INSTANTIATE_TEST_SUITE_P(Widths, HorizontalThickness,
                         ::testing::Values(ThicknessCase{1, 20, 20}, ThicknessCase{3, 19, 21},
                                           ThicknessCase{4, 18, 21}, ThicknessCase{5, 18, 22},
                                           ThicknessCase{6, 17, 22}));

TEST(RasteriseLine, ZeroOrNegativeWidthDrawsOnePixelWide) {
  EXPECT_EQ(Pixels({3, 4}, {9, 4}, 0, {20, 20}), Pixels({3, 4}, {9, 4}, 1, {20, 20}));
  EXPECT_EQ(Pixels({3, 4}, {9, 4}, -5, {20, 20}).size(), 7u);
}

TEST(RasteriseLine, SpansStayInsideTheClip) {
  std::vector<LineSpan> spans;
  RasteriseLine({-40, -40}, {100, 100}, 9, {30, 20}, spans);
  ASSERT_FALSE(spans.empty());
  for (const LineSpan& s : spans) {
    EXPECT_GE(s.y, 0);
    EXPECT_LT(s.y, 20);
    EXPECT_GE(s.left, 0);
    EXPECT_LE(s.left, s.right);
    EXPECT_LT(s.right, 30);
  }
}

TEST(RasteriseLine, LinesWhollyOutsideDrawNothing) {
  EXPECT_TRUE(Pixels({-50, 5}, {-4, 5}, 6, {20, 20}).empty());
  EXPECT_TRUE(Pixels({5, 30}, {15, 60}, 5, {20, 20}).empty());
  EXPECT_TRUE(Pixels({5, 5}, {5, 5}, 5, {0, 0}).empty());
}

TEST(RasteriseLine, FarAwayEndPointsGiveTheSameRowsAsNearOnes) {
  // An axis-parallel line is the same line whatever its far end.
  EXPECT_EQ(Pixels({-2000000000, 7}, {12, 7}, 5, {30, 20}), Pixels({-30, 7}, {12, 7}, 5, {30, 20}));
  EXPECT_EQ(Pixels({8, 2000000000}, {8, -2000000000}, 4, {30, 20}),
            Pixels({8, 40}, {8, -40}, 4, {30, 20}));
  EXPECT_TRUE(Pixels({2000000000, 2000000000}, {2100000000, -2000000000}, 6, {30, 20}).empty());
}

}  // namespace
}  // namespace kxc2
