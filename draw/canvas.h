#pragma once

#include <array>
#include <vector>

#include "draw/image.h"
#include "draw/line_raster.h"

namespace kxc2 {

enum class PenMode { Copy };

struct Pen {
  Rgb color = MakeRgb(0, 0, 0);
  int width = 1;
  PenMode mode = PenMode::Copy;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// Colours are written $00BBGGRR, red in the low byte.
constexpr Rgb ColorFromBgr(unsigned bgr) {
  return MakeRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// Index of the palette entry nearest to colour (squared RGB distance, the
// lowest index on a tie); 0 for an empty palette. Alpha is not compared.
int NearestPaletteIndex(const std::vector<Rgb>& palette, Rgb colour);

// A drawing surface over an Image of format RGB32 or Indexed8. Both formats
// get exactly the same pixels for the same calls; on Indexed8 a colour
// becomes its nearest palette entry. A null image is left alone.
class Canvas {
 public:
  explicit Canvas(Image& image);

  Image& image() { return image_; }
  const Pen& pen() const { return pen_; }
  void setPen(const Pen& pen) { pen_ = pen; }

  Point position() const { return position_; }
  void moveTo(Point point) { position_ = point; }
  // A solid line with the current pen, round ends, no smoothing, clipped;
  // the position moves to point.
  void lineTo(Point point);

  // Plain source copy of source's rectangle onto target's top-left corner;
  // clipped on both sides, never reading outside source. An Indexed8 source
  // gives its indices to an Indexed8 target and its colours to an RGB32 one
  // (an index beyond its colour table reads as black).
  void copyRect(Point target, const Image& source, const Rect& sourceRect);
  void fillRect(const Rect& rect, Rgb colour);
  // A dotted one-pixel frame drawn by inversion: twice restores every pixel.
  // Pixels whose x + y is even are inverted (RGB bits, or the palette index).
  void drawFocusRect(const Rect& rect);

 private:
  bool drawable() const;
  // The pixel value colour takes on this image: 0xFFRRGGBB or a palette index.
  std::uint32_t pixelValue(Rgb colour);
  void fillSpan(int y, int left, int right, std::uint32_t value);
  void invertPixel(int x, int y);
  void copyIndexedToRgb(Point target, const Image& source, const Rect& sourceRect);
  // The spans of a line from (0, 0) to delta, rasterised once per shape.
  const std::vector<LineSpan>& shapeOf(Point delta, int width);
  void fillSpansAt(Point origin, const std::vector<LineSpan>& spans, std::uint32_t value);
  const std::array<Rgb, 256>& lookupFor(const Image& source);

  Image& image_;
  Pen pen_;
  Point position_;
  std::vector<LineSpan> spans_;
  // The overlays draw the same dozen line shapes over and over, only moved:
  // a line's pixels depend on its end points' difference alone.
  struct LineShape {
    Point delta;
    int width = 0;
    std::vector<LineSpan> spans;  // relative to the line's start
  };
  std::vector<LineShape> shapes_;
  // Kept between calls: the redraws copy and draw thousands of times with the
  // same palette and the same colours.
  std::vector<Rgb> nearestPalette_;
  Rgb nearestColour_ = 0;
  int nearestIndex_ = -1;
  std::vector<Rgb> lookupPalette_;
  bool lookupValid_ = false;
  std::array<Rgb, 256> lookup_{};
};

}  // namespace kxc2
