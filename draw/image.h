#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kxc2 {

// A colour as 0xAARRGGBB, the layout the editor's toolkit shares, so that a
// picture can be shown without converting it.
using Rgb = std::uint32_t;

constexpr Rgb MakeRgb(int red, int green, int blue) {
  return 0xFF000000u | (static_cast<Rgb>(red & 0xFF) << 16) | (static_cast<Rgb>(green & 0xFF) << 8) |
         static_cast<Rgb>(blue & 0xFF);
}
constexpr int RedOf(Rgb colour) { return static_cast<int>((colour >> 16) & 0xFF); }
constexpr int GreenOf(Rgb colour) { return static_cast<int>((colour >> 8) & 0xFF); }
constexpr int BlueOf(Rgb colour) { return static_cast<int>(colour & 0xFF); }

struct Point {
  constexpr Point() = default;
  constexpr Point(int x, int y) : x_(x), y_(y) {}
  constexpr int x() const { return x_; }
  constexpr int y() const { return y_; }
  constexpr Point operator+(Point other) const { return {x_ + other.x_, y_ + other.y_}; }
  constexpr Point operator-(Point other) const { return {x_ - other.x_, y_ - other.y_}; }
  constexpr Point operator-() const { return {-x_, -y_}; }
  constexpr Point& operator+=(Point other) { return *this = *this + other; }
  constexpr Point& operator-=(Point other) { return *this = *this - other; }
  friend constexpr bool operator==(const Point&, const Point&) = default;

 private:
  int x_ = 0;
  int y_ = 0;
};

struct Size {
  constexpr Size() = default;
  constexpr Size(int width, int height) : width_(width), height_(height) {}
  constexpr int width() const { return width_; }
  constexpr int height() const { return height_; }
  constexpr bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
  friend constexpr bool operator==(const Size&, const Size&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
};

// A rectangle of pixels; right() and bottom() are the last pixels inside,
// as the editor's toolkit counts them.
class Rect {
 public:
  constexpr Rect() = default;
  constexpr Rect(int x, int y, int width, int height) : x_(x), y_(y), w_(width), h_(height) {}
  constexpr Rect(Point topLeft, Size size) : Rect(topLeft.x(), topLeft.y(), size.width(), size.height()) {}

  constexpr int x() const { return x_; }
  constexpr int y() const { return y_; }
  constexpr int left() const { return x_; }
  constexpr int top() const { return y_; }
  constexpr int right() const { return x_ + w_ - 1; }
  constexpr int bottom() const { return y_ + h_ - 1; }
  constexpr int width() const { return w_; }
  constexpr int height() const { return h_; }
  constexpr Size size() const { return {w_, h_}; }
  constexpr Point topLeft() const { return {x_, y_}; }
  // The middle pixel as the toolkit works it out, halves dropped.
  constexpr Point center() const {
    return {static_cast<int>((static_cast<long long>(x_) + right()) / 2),
            static_cast<int>((static_cast<long long>(y_) + bottom()) / 2)};
  }
  constexpr bool isEmpty() const { return w_ <= 0 || h_ <= 0; }

  constexpr Rect normalized() const {
    // Counted by edges, as the toolkit does: the last pixel and the first swap.
    Rect r = *this;
    if (w_ < 0) r.x_ = x_ + w_ - 1, r.w_ = 2 - w_;
    if (h_ < 0) r.y_ = y_ + h_ - 1, r.h_ = 2 - h_;
    return r;
  }
  constexpr bool contains(int x, int y) const { return x >= x_ && x <= right() && y >= y_ && y <= bottom(); }
  constexpr bool contains(Point p) const { return contains(p.x(), p.y()); }
  constexpr bool contains(const Rect& r) const {
    return !isEmpty() && !r.isEmpty() && r.x_ >= x_ && r.right() <= right() && r.y_ >= y_ && r.bottom() <= bottom();
  }
  constexpr Rect intersected(const Rect& r) const {
    const int l = std::max(x_, r.x_);
    const int t = std::max(y_, r.y_);
    const int rr = std::min(right(), r.right());
    const int b = std::min(bottom(), r.bottom());
    if (isEmpty() || r.isEmpty() || l > rr || t > b) return {};
    return {l, t, rr - l + 1, b - t + 1};
  }
  constexpr bool intersects(const Rect& r) const { return !intersected(r).isEmpty(); }
  constexpr Rect united(const Rect& r) const {
    if (isEmpty()) return r;
    if (r.isEmpty()) return *this;
    const int l = std::min(x_, r.x_);
    const int t = std::min(y_, r.y_);
    return {l, t, std::max(right(), r.right()) - l + 1, std::max(bottom(), r.bottom()) - t + 1};
  }
  constexpr Rect operator|(const Rect& r) const { return united(r); }
  constexpr Rect& operator|=(const Rect& r) { return *this = united(r); }
  constexpr Rect operator&(const Rect& r) const { return intersected(r); }
  constexpr Rect adjusted(int dx1, int dy1, int dx2, int dy2) const {
    return {x_ + dx1, y_ + dy1, w_ + dx2 - dx1, h_ + dy2 - dy1};
  }
  constexpr Rect translated(Point offset) const { return {x_ + offset.x(), y_ + offset.y(), w_, h_}; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;

 private:
  int x_ = 0;
  int y_ = 0;
  int w_ = 0;
  int h_ = 0;
};

// The kit's pictures: 8-bit indices into a colour table of up to 256
// entries, or 32-bit 0xFFRRGGBB pixels. Rows start on 4-byte boundaries, the
// toolkit's own layout, so that the editor can show the same memory.
class Image {
 public:
  enum Format { Format_Invalid, Format_Indexed8, Format_RGB32 };

  Image() = default;
  Image(int width, int height, Format format);
  Image(Size size, Format format) : Image(size.width(), size.height(), format) {}

  bool isNull() const { return format_ == Format_Invalid; }
  Format format() const { return format_; }
  int width() const { return width_; }
  int height() const { return height_; }
  Size size() const { return {width_, height_}; }
  Rect rect() const { return {0, 0, width_, height_}; }
  int depth() const { return format_ == Format_RGB32 ? 32 : 8; }
  std::size_t bytesPerLine() const { return stride_; }

  std::uint8_t* bits() { return pixels_.data(); }
  const std::uint8_t* constBits() const { return pixels_.data(); }
  std::uint8_t* scanLine(int y) { return pixels_.data() + stride_ * static_cast<std::size_t>(y); }
  const std::uint8_t* scanLine(int y) const { return constScanLine(y); }
  const std::uint8_t* constScanLine(int y) const { return pixels_.data() + stride_ * static_cast<std::size_t>(y); }

  const std::vector<Rgb>& colorTable() const { return colours_; }
  void setColorTable(std::vector<Rgb> colours) { colours_ = std::move(colours); }
  int colorCount() const { return static_cast<int>(colours_.size()); }
  Rgb color(int index) const { return colours_.at(static_cast<std::size_t>(index)); }
  // New entries are 0, as the toolkit leaves them.
  void setColorCount(int count) { colours_.resize(static_cast<std::size_t>(std::max(count, 0)), 0); }

  // An index on Indexed8, a 0xAARRGGBB value on RGB32 (alpha kept opaque).
  void fill(std::uint32_t value);
  int pixelIndex(int x, int y) const { return constScanLine(y)[x]; }
  int pixelIndex(Point p) const { return pixelIndex(p.x(), p.y()); }
  // The colour at (x, y); an index beyond the table reads as 0.
  Rgb pixel(int x, int y) const;
  Rgb pixel(Point p) const { return pixel(p.x(), p.y()); }
  void setPixel(int x, int y, std::uint32_t value);

  Image copy() const { return *this; }
  // The part of rect inside the image, same format and table.
  Image copy(const Rect& rect) const;
  Image copy(int x, int y, int width, int height) const { return copy(Rect(x, y, width, height)); }
  // Indexed8 to RGB32 through the colour table, or a plain copy.
  Image convertToFormat(Format format) const;

  // Same format, size, table and pixels.
  friend bool operator==(const Image& a, const Image& b);

 private:
  Format format_ = Format_Invalid;
  int width_ = 0;
  int height_ = 0;
  std::size_t stride_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::vector<Rgb> colours_;
};

}  // namespace kxc2
