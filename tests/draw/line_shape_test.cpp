#include <gtest/gtest.h>

#include "draw/image.h"
#include <random>

#include "draw/canvas.h"
#include "draw/line_raster.h"

namespace kxc2 {
namespace {

// What a line must cover: the rasteriser run for this very image.
Image Expected(Size size, Point from, Point to, int width) {
  Image image(size, Image::Format_RGB32);
  image.fill(MakeRgb(0, 0, 0));
  std::vector<LineSpan> spans;
  RasteriseLine(from, to, width, size, spans);
  for (const LineSpan& span : spans)
    for (int x = span.left; x <= span.right; ++x) image.setPixel(x, span.y, MakeRgb(255, 255, 255));
  return image;
}

// Lines are drawn from shapes kept between calls; wherever a shape is moved
// to, and however it is clipped, it must cover what rasterising in place does.
TEST(LineShapes, MovedShapesCoverWhatTheRasteriserDoes) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> position(-60, 110);
  std::uniform_int_distribution<int> delta(-50, 50);
  std::uniform_int_distribution<int> width(1, 8);
  const Size size(90, 70);
  Image image(size, Image::Format_RGB32);
  Canvas canvas(image);
  for (int i = 0; i < 3000; ++i) {
    // Few distinct shapes, many positions: the cache is hit most of the time.
    const Point step(delta(random) % 4 * 11, delta(random) % 4 * 13);
    const Point from(position(random), position(random));
    const int w = width(random);
    image.fill(MakeRgb(0, 0, 0));
    canvas.setPen({MakeRgb(255, 255, 255), w, PenMode::Copy});
    canvas.moveTo(from);
    canvas.lineTo(from + step);
    ASSERT_EQ(image, Expected(size, from, from + step, w))
        << "from " << from.x() << "," << from.y() << " by " << step.x() << "," << step.y() << " width " << w;
  }
}

}  // namespace
}  // namespace kxc2
