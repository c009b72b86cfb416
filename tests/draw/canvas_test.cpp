#include "draw/canvas.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kxc2 {
namespace {

std::vector<Rgb> TestPalette() {
  std::vector<Rgb> palette(256, MakeRgb(0, 0, 0));
  for (int i = 0; i < 256; ++i) palette[i] = MakeRgb(i, 255 - i, (i * 7) % 256);
  return palette;
}

Image Indexed(Size size, std::uint8_t fill = 3) {
  Image image(size, Image::Format_Indexed8);
  image.setColorTable(TestPalette());
  image.fill(fill);
  return image;
}

Image RgbImage(Size size, Rgb fill = MakeRgb(10, 20, 30)) {
  Image image(size, Image::Format_RGB32);
  image.fill(fill);
  return image;
}

// Pixels that differ from the background, as a one-bit picture.
std::vector<bool> Changed(const Image& image, const Image& before) {
  std::vector<bool> changed;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      changed.push_back(image.format() == Image::Format_Indexed8 ? image.pixelIndex(x, y) != before.pixelIndex(x, y)
                                                                  : image.pixel(x, y) != before.pixel(x, y));
  return changed;
}

struct NearestCase {
  std::vector<Rgb> palette;
  Rgb colour;
  int expected;
};

class Nearest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(Nearest, PicksSmallestSquaredDistanceLowestIndexOnTie) {
  const NearestCase& c = GetParam();
  EXPECT_EQ(NearestPaletteIndex(std::vector<Rgb>(c.palette.begin(), c.palette.end()), c.colour), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, Nearest,
    ::testing::Values(
        NearestCase{{MakeRgb(0, 0, 0), MakeRgb(255, 255, 255)}, MakeRgb(200, 200, 200), 1},
        NearestCase{{MakeRgb(0, 0, 0), MakeRgb(255, 255, 255), MakeRgb(200, 200, 200)}, MakeRgb(200, 200, 200), 2},
        // (10,0,0) and (0,10,0) are both 50 away from (5,5,0): the lower index wins.
        NearestCase{{MakeRgb(50, 50, 50), MakeRgb(10, 0, 0), MakeRgb(0, 10, 0)}, MakeRgb(5, 5, 0), 1},
        NearestCase{{MakeRgb(0, 10, 0), MakeRgb(10, 0, 0)}, MakeRgb(5, 5, 0), 0},
        NearestCase{{MakeRgb(9, 9, 9), MakeRgb(9, 9, 9)}, MakeRgb(9, 9, 9), 0},
        // Squared, not summed absolute: 3*4^2 = 48 beats 10^2 = 100 though 12 > 10.
        NearestCase{{MakeRgb(10, 0, 0), MakeRgb(4, 4, 4)}, MakeRgb(0, 0, 0), 1},
        NearestCase{{}, MakeRgb(1, 2, 3), 0}));

TEST(Canvas, LineOnIndexedTakesTheNearestEntry) {
  Image image = Indexed({20, 20});
  Canvas canvas(image);
  canvas.setPen({MakeRgb(100, 156, 190), 3, PenMode::Copy});  // entry 100 is (100,155,188)
  canvas.moveTo({2, 10});
  canvas.lineTo({17, 10});
  EXPECT_EQ(image.pixelIndex(10, 10), 100);
  EXPECT_EQ(image.pixelIndex(10, 5), 3);
  EXPECT_EQ(canvas.position(), Point(17, 10));
}

TEST(Canvas, LineOnRgbTakesTheColourOpaque) {
  Image image = RgbImage({20, 20});
  Canvas canvas(image);
  canvas.setPen({MakeRgb(0, 200, 255), 5, PenMode::Copy});
  canvas.moveTo({10, 0});
  canvas.lineTo({10, 19});
  EXPECT_EQ(image.pixel(10, 10), MakeRgb(0, 200, 255));
  EXPECT_EQ(image.pixel(8, 10), MakeRgb(0, 200, 255));
  EXPECT_EQ(image.pixel(7, 10), MakeRgb(10, 20, 30));
}

struct SegmentCase {
  Point from, to;
  int width;
};

class BothFormats : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(BothFormats, CoverTheSamePixels) {
  const SegmentCase& c = GetParam();
  Image rgb = RgbImage({50, 40});
  Image indexed = Indexed({50, 40});
  const Image rgbBefore = rgb.copy(), indexedBefore = indexed.copy();
  for (Image* image : {&rgb, &indexed}) {
    Canvas canvas(*image);
    canvas.setPen({MakeRgb(250, 5, 1), c.width, PenMode::Copy});
    canvas.moveTo(c.from);
    canvas.lineTo(c.to);
  }
  const std::vector<bool> a = Changed(rgb, rgbBefore), b = Changed(indexed, indexedBefore);
  EXPECT_EQ(a, b);
  EXPECT_NE(std::count(a.begin(), a.end(), true), 0);
}

INSTANTIATE_TEST_SUITE_P(Segments, BothFormats,
                         ::testing::Values(SegmentCase{{22, 25}, {45, 12}, 5}, SegmentCase{{22, 25}, {22, -1}, 6},
                                           SegmentCase{{-10, -10}, {60, 50}, 3}, SegmentCase{{49, 0}, {0, 39}, 4},
                                           SegmentCase{{-100000, 20}, {100000, 21}, 1}));

TEST(Canvas, FillRectIsClippedAndUsesNearestEntry) {
  Image image = Indexed({10, 8});
  Canvas canvas(image);
  canvas.fillRect(Rect(-5, 6, 8, 10), MakeRgb(2, 253, 14));  // entry 2 exactly
  EXPECT_EQ(image.pixelIndex(0, 6), 2);
  EXPECT_EQ(image.pixelIndex(2, 7), 2);
  EXPECT_EQ(image.pixelIndex(3, 7), 3);
  EXPECT_EQ(image.pixelIndex(2, 5), 3);
}

struct CopyCase {
  Point target;
  Rect source;
  Rect expectedTarget;  // the pixels that receive a copy
};

class CopyClipping : public ::testing::TestWithParam<CopyCase> {};

// Source pixel (x, y) holds index x + 10 * y, so every copied pixel tells
// where it was read from.
Image NumberedSource() {
  Image source = Indexed({10, 8});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) source.setPixel(x, y, static_cast<unsigned>(x + 10 * y + 100));
  return source;
}

TEST_P(CopyClipping, CopiesOnlyWhatIsInsideBothAndFromTheRightPlace) {
  const CopyCase& c = GetParam();
  const Image source = NumberedSource();
  Image target = Indexed({12, 9}, 0);
  Canvas canvas(target);
  canvas.copyRect(c.target, source, c.source);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 12; ++x) {
      const int got = target.pixelIndex(x, y);
      if (!c.expectedTarget.contains(x, y)) {
        EXPECT_EQ(got, 0) << x << "," << y;
        continue;
      }
      const int sx = x - c.target.x() + c.source.left();
      const int sy = y - c.target.y() + c.source.top();
      EXPECT_EQ(got, sx + 10 * sy + 100) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rects, CopyClipping,
    ::testing::Values(CopyCase{{1, 1}, Rect(0, 0, 4, 3), Rect(1, 1, 4, 3)},
                      CopyCase{{-2, -1}, Rect(0, 0, 4, 3), Rect(0, 0, 2, 2)},
                      CopyCase{{10, 7}, Rect(0, 0, 4, 3), Rect(10, 7, 2, 2)},
                      // Source rectangle hanging off the source's corners.
                      CopyCase{{0, 0}, Rect(-3, -2, 6, 5), Rect(3, 2, 3, 3)},
                      CopyCase{{4, 4}, Rect(8, 6, 5, 5), Rect(4, 4, 2, 2)},
                      CopyCase{{0, 0}, Rect(10, 0, 4, 4), Rect()},
                      CopyCase{{12, 0}, Rect(0, 0, 4, 4), Rect()},
                      CopyCase{{-4, 0}, Rect(0, 0, 4, 4), Rect()}));

TEST(Canvas, IndexedSourceOntoRgbUsesTheSourceColours) {
  Image source = Indexed({4, 4});
  source.setColorCount(200);  // indices 200 and above are outside the table
  source.scanLine(0)[0] = 7;
  source.scanLine(0)[1] = 199;
  source.scanLine(0)[2] = 250;
  Image target = RgbImage({4, 4});
  Canvas canvas(target);
  canvas.copyRect({0, 0}, source, Rect(0, 0, 4, 4));
  EXPECT_EQ(target.pixel(0, 0), TestPalette()[7]);
  EXPECT_EQ(target.pixel(1, 0), TestPalette()[199]);
  EXPECT_EQ(target.pixel(2, 0), MakeRgb(0, 0, 0));
  EXPECT_EQ(target.pixel(3, 3), TestPalette()[3]);
}

TEST(Canvas, LookupFollowsAChangedSourcePalette) {
  Image first = Indexed({2, 2}, 5);
  Image second = Indexed({2, 2}, 5);
  std::vector<Rgb> other = TestPalette();
  other[5] = MakeRgb(1, 2, 3);
  second.setColorTable(other);
  Image target = RgbImage({4, 2});
  Canvas canvas(target);
  canvas.copyRect({0, 0}, first, Rect(0, 0, 2, 2));
  canvas.copyRect({2, 0}, second, Rect(0, 0, 2, 2));
  EXPECT_EQ(target.pixel(0, 0), TestPalette()[5]);
  EXPECT_EQ(target.pixel(2, 0), MakeRgb(1, 2, 3));
}

TEST(Canvas, RgbOntoRgbIsAPlainCopy) {
  Image source = RgbImage({5, 5}, MakeRgb(1, 2, 3));
  source.setPixel(4, 4, MakeRgb(9, 8, 7));
  Image target = RgbImage({5, 5});
  Canvas canvas(target);
  canvas.copyRect({-3, -3}, source, Rect(0, 0, 5, 5));
  EXPECT_EQ(target.pixel(1, 1), MakeRgb(9, 8, 7));
  EXPECT_EQ(target.pixel(0, 0), MakeRgb(1, 2, 3));
  EXPECT_EQ(target.pixel(2, 2), MakeRgb(10, 20, 30));
}

TEST(Canvas, CopyWithinTheSameImageReadsTheOriginal) {
  Image image = NumberedSource();
  Canvas canvas(image);
  canvas.copyRect({1, 0}, image, Rect(0, 0, 5, 1));
  for (int x = 1; x <= 5; ++x) EXPECT_EQ(image.pixelIndex(x, 0), x - 1 + 100);
}

class FocusFrame : public ::testing::TestWithParam<Rect> {};

TEST_P(FocusFrame, TwiceLeavesEveryPixelAsItWas) {
  Image rgb = RgbImage({30, 30});
  for (int i = 0; i < 30; ++i) rgb.setPixel(i, i, MakeRgb(i * 8, 255 - i, 3 * i));
  Image indexed = Indexed({30, 30});
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) indexed.scanLine(y)[x] = static_cast<std::uint8_t>(x * 7 + y * 3);
  for (Image* image : {&rgb, &indexed}) {
    const Image before = image->copy();
    Canvas canvas(*image);
    canvas.drawFocusRect(GetParam());
    const bool visible = Rect(0, 0, 30, 30).intersects(GetParam()) && *image != before;
    canvas.drawFocusRect(GetParam());
    EXPECT_EQ(*image, before);
    if (GetParam() == Rect(2, 3, 13, 13)) {
      EXPECT_TRUE(visible);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Rects, FocusFrame,
                         ::testing::Values(Rect(2, 3, 13, 13), Rect(-3, -25, 45, 51), Rect(20, 20, 45, 51),
                                           Rect(5, 5, 1, 1), Rect(5, 5, 1, 7), Rect(5, 5, 6, 1),
                                           Rect(-100, -100, 10, 10)));

TEST(Canvas, FocusFrameInvertsEveryOtherPixelOfTheFrameOnly) {
  Image image = RgbImage({20, 20}, MakeRgb(0x10, 0x20, 0x30));
  Canvas canvas(image);
  const Rect frame(2, 3, 13, 13);  // 13 x 13: the zoomed-out frame
  canvas.drawFocusRect(frame);
  const Rgb inverted = MakeRgb(0xEF, 0xDF, 0xCF);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool onFrame = frame.contains(x, y) && (x == frame.left() || x == frame.right() ||
                                                    y == frame.top() || y == frame.bottom());
      const Rgb expected = onFrame && (x + y) % 2 == 0 ? inverted : MakeRgb(0x10, 0x20, 0x30);
      EXPECT_EQ(image.pixel(x, y), expected) << x << "," << y;
    }
}

TEST(Canvas, FocusFrameOnIndexedInvertsTheIndex) {
  Image image = Indexed({8, 8}, 0x21);
  Canvas canvas(image);
  canvas.drawFocusRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(image.pixelIndex(0, 0), 0xDE);
  EXPECT_EQ(image.pixelIndex(1, 0), 0x21);
  EXPECT_EQ(image.pixelIndex(7, 7), 0xDE);
  EXPECT_EQ(image.pixelIndex(4, 4), 0x21);
}

// The image type has no other formats: the one picture the canvas cannot
// draw on is a null one.
TEST(Canvas, NullImagesAreLeftAlone) {
  Image image;
  const Image before = image.copy();
  Canvas canvas(image);
  canvas.setPen({MakeRgb(255, 0, 0), 3, PenMode::Copy});
  canvas.moveTo({0, 0});
  canvas.lineTo({5, 5});
  canvas.fillRect(Rect(0, 0, 6, 6), MakeRgb(9, 9, 9));
  canvas.drawFocusRect(Rect(0, 0, 6, 6));
  canvas.copyRect({0, 0}, Indexed({6, 6}), Rect(0, 0, 6, 6));
  EXPECT_EQ(image, before);
  EXPECT_TRUE(image.isNull());
}

}  // namespace
}  // namespace kxc2
