#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>

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
// lowest index on a tie).
int NearestPaletteIndex(const QList<QRgb>& palette, QRgb colour);

// A drawing surface over a QImage of format RGB32 or Indexed8. Both formats
// get exactly the same pixels for the same calls; on Indexed8 a colour
// becomes its nearest palette entry.
class Canvas {
 public:
  explicit Canvas(QImage& image);

  QImage& image() { return image_; }
  const Pen& pen() const { return pen_; }
  void setPen(const Pen& pen) { pen_ = pen; }

  void moveTo(QPoint point) { position_ = point; }
  // A solid line with the current pen, round ends, no smoothing, clipped.
  void lineTo(QPoint point);

  // Plain source copy of source's rectangle onto target's top-left corner;
  // clipped on both sides, never reading outside source.
  void copyRect(QPoint target, const QImage& source, const QRect& sourceRect);
  void fillRect(const QRect& rect, QRgb colour);
  // A dotted one-pixel frame drawn by inversion: twice restores every pixel.
  void drawFocusRect(const QRect& rect);

 private:
  QImage& image_;
  Pen pen_;
  QPoint position_;
};

}  // namespace kxc2
