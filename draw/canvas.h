#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <array>
#include <vector>

#include "draw/line_raster.h"

namespace kxc2 {

enum class PenMode { Copy };

struct Pen {
  QRgb color = qRgb(0, 0, 0);
  int width = 1;
  PenMode mode = PenMode::Copy;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// Colours are written $00BBGGRR, red in the low byte.
constexpr QRgb ColorFromBgr(unsigned bgr) {
  return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// Index of the palette entry nearest to colour (squared RGB distance, the
// lowest index on a tie); 0 for an empty palette. Alpha is not compared.
int NearestPaletteIndex(const QList<QRgb>& palette, QRgb colour);

// A drawing surface over a QImage of format RGB32 or Indexed8. Both formats
// get exactly the same pixels for the same calls; on Indexed8 a colour
// becomes its nearest palette entry. Images of other formats are left alone.
class Canvas {
 public:
  explicit Canvas(QImage& image);

  QImage& image() { return image_; }
  const Pen& pen() const { return pen_; }
  void setPen(const Pen& pen) { pen_ = pen; }

  QPoint position() const { return position_; }
  void moveTo(QPoint point) { position_ = point; }
  // A solid line with the current pen, round ends, no smoothing, clipped;
  // the position moves to point.
  void lineTo(QPoint point);

  // Plain source copy of source's rectangle onto target's top-left corner;
  // clipped on both sides, never reading outside source. An Indexed8 source
  // gives its indices to an Indexed8 target and its colours to an RGB32 one
  // (an index beyond its colour table reads as black).
  void copyRect(QPoint target, const QImage& source, const QRect& sourceRect);
  void fillRect(const QRect& rect, QRgb colour);
  // A dotted one-pixel frame drawn by inversion: twice restores every pixel.
  // Pixels whose x + y is even are inverted (RGB bits, or the palette index).
  void drawFocusRect(const QRect& rect);

 private:
  bool drawable() const;
  // The pixel value colour takes on this image: 0xFFRRGGBB or a palette index.
  uint pixelValue(QRgb colour);
  void fillSpan(int y, int left, int right, uint value);
  void invertPixel(int x, int y);
  void copyIndexedToRgb(QPoint target, const QImage& source, const QRect& sourceRect);
  // The spans of a line from (0, 0) to delta, rasterised once per shape.
  const std::vector<LineSpan>& shapeOf(QPoint delta, int width);
  void fillSpansAt(QPoint origin, const std::vector<LineSpan>& spans, uint value);
  const std::array<QRgb, 256>& lookupFor(const QImage& source);

  QImage& image_;
  Pen pen_;
  QPoint position_;
  std::vector<LineSpan> spans_;
  // The overlays draw the same dozen line shapes over and over, only moved:
  // a line's pixels depend on its end points' difference alone.
  struct LineShape {
    QPoint delta;
    int width = 0;
    std::vector<LineSpan> spans;  // relative to the line's start
  };
  std::vector<LineShape> shapes_;
  // Kept between calls: the redraws copy and draw thousands of times with the
  // same palette and the same colours.
  QList<QRgb> nearestPalette_;
  QRgb nearestColour_ = 0;
  int nearestIndex_ = -1;
  QList<QRgb> lookupPalette_;
  bool lookupValid_ = false;
  std::array<QRgb, 256> lookup_{};
};

}  // namespace kxc2
