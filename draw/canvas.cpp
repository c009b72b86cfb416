#include "draw/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kxc2 {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

// Lines short and thin enough to keep as shapes, near enough to the image
// that moving a shape cannot overflow; others are rasterised each time.
constexpr int kMaxShapeLength = 1024;
constexpr int kMaxShapeWidth = 64;
constexpr int kNearImage = 1 << 20;
constexpr std::size_t kMaxLineShapes = 64;

bool IsShapeSized(Point delta, int width) {
  return std::abs(delta.x()) <= kMaxShapeLength && std::abs(delta.y()) <= kMaxShapeLength && width <= kMaxShapeWidth;
}

bool IsNearImage(Point point) { return std::abs(point.x()) <= kNearImage && std::abs(point.y()) <= kNearImage; }

int SquaredDistance(Rgb a, Rgb b) {
  const int dr = RedOf(a) - RedOf(b);
  const int dg = GreenOf(a) - GreenOf(b);
  const int db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

// The part of sourceRect that is inside source and lands inside target.
struct CopyPlan {
  Rect from;  // in source
  Point to;   // top-left in target
  bool empty() const { return from.isEmpty(); }
};

CopyPlan PlanCopy(Point target, const Image& source, const Rect& sourceRect, Size targetSize) {
  const Rect inSource = sourceRect.normalized().intersected(source.rect());
  if (inSource.isEmpty()) return {};
  const Point shifted = target + (inSource.topLeft() - sourceRect.normalized().topLeft());
  const Rect inTarget = Rect(shifted, inSource.size()).intersected(Rect(Point(0, 0), targetSize));
  if (inTarget.isEmpty()) return {};
  return {Rect(inSource.topLeft() + (inTarget.topLeft() - shifted), inTarget.size()),
          inTarget.topLeft()};
}

}  // namespace

int NearestPaletteIndex(const std::vector<Rgb>& palette, Rgb colour) {
  int best = 0;
  int bestDistance = -1;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    const int distance = SquaredDistance(palette[i], colour);
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

Canvas::Canvas(Image& image) : image_(image) {}

bool Canvas::drawable() const {
  return image_.format() == Image::Format_RGB32 || image_.format() == Image::Format_Indexed8;
}

std::uint32_t Canvas::pixelValue(Rgb colour) {
  if (image_.format() != Image::Format_Indexed8) return kOpaque | (colour & 0xFFFFFFu);
  const std::vector<Rgb> palette = image_.colorTable();
  if (nearestIndex_ < 0 || nearestColour_ != colour || palette != nearestPalette_) {
    nearestPalette_ = palette;
    nearestColour_ = colour;
    nearestIndex_ = NearestPaletteIndex(palette, colour);
  }
  return static_cast<std::uint32_t>(nearestIndex_);
}

void Canvas::fillSpan(int y, int left, int right, std::uint32_t value) {
  const int count = right - left + 1;
  if (image_.format() == Image::Format_Indexed8) {
    std::memset(image_.scanLine(y) + left, static_cast<int>(value), static_cast<size_t>(count));
  } else {
    auto* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(y)) + left;
    std::fill(row, row + count, value);
  }
}

void Canvas::lineTo(Point point) {
  const Point from = position_;
  position_ = point;
  if (!drawable()) return;
  if (IsShapeSized(point - from, pen_.width) && IsNearImage(from)) {
    fillSpansAt(from, shapeOf(point - from, pen_.width), pixelValue(pen_.color));
    return;
  }
  RasteriseLine(from, point, pen_.width, image_.size(), spans_);
  if (spans_.empty()) return;
  const std::uint32_t value = pixelValue(pen_.color);
  for (const LineSpan& span : spans_) fillSpan(span.y, span.left, span.right, value);
}

const std::vector<LineSpan>& Canvas::shapeOf(Point delta, int width) {
  for (const LineShape& shape : shapes_)
    if (shape.delta == delta && shape.width == width) return shape.spans;
  if (shapes_.size() >= kMaxLineShapes) shapes_.clear();
  // Rasterise once with room for the round ends on every side, then keep the
  // spans relative to the start.
  const int margin = std::max(width, 1) + 1;
  const Point start(margin + std::max(0, -delta.x()), margin + std::max(0, -delta.y()));
  const Size room(std::abs(delta.x()) + 2 * margin + 1, std::abs(delta.y()) + 2 * margin + 1);
  LineShape shape{delta, width, {}};
  RasteriseLine(start, start + delta, width, room, shape.spans);
  for (LineSpan& span : shape.spans) span = {span.y - start.y(), span.left - start.x(), span.right - start.x()};
  shapes_.push_back(std::move(shape));
  return shapes_.back().spans;
}

void Canvas::fillSpansAt(Point origin, const std::vector<LineSpan>& spans, std::uint32_t value) {
  const int lastX = image_.width() - 1;
  for (const LineSpan& span : spans) {
    const int y = origin.y() + span.y;
    if (y < 0 || y >= image_.height()) continue;
    const int left = std::max(0, origin.x() + span.left);
    const int right = std::min(lastX, origin.x() + span.right);
    if (left <= right) fillSpan(y, left, right, value);
  }
}

void Canvas::fillRect(const Rect& rect, Rgb colour) {
  if (!drawable()) return;
  const Rect clipped = rect.normalized().intersected(image_.rect());
  if (clipped.isEmpty()) return;
  const std::uint32_t value = pixelValue(colour);
  for (int y = clipped.top(); y <= clipped.bottom(); ++y)
    fillSpan(y, clipped.left(), clipped.right(), value);
}

void Canvas::invertPixel(int x, int y) {
  if (image_.format() == Image::Format_Indexed8) {
    std::uint8_t* pixel = image_.scanLine(y) + x;
    *pixel = static_cast<std::uint8_t>(*pixel ^ 0xFFu);
  } else {
    std::uint32_t* pixel = reinterpret_cast<std::uint32_t*>(image_.scanLine(y)) + x;
    *pixel ^= 0x00FFFFFFu;
  }
}

void Canvas::drawFocusRect(const Rect& rect) {
  if (!drawable()) return;
  const Rect frame = rect.normalized();
  if (frame.isEmpty()) return;
  const Rect bounds = image_.rect();
  // Each frame pixel is visited once, so a thin frame still undoes itself.
  auto touch = [&](int x, int y) {
    if (((x + y) & 1) == 0 && bounds.contains(x, y)) invertPixel(x, y);
  };
  const int xFrom = std::max(frame.left(), bounds.left() - 1);
  const int xTo = std::min(frame.right(), bounds.right() + 1);
  for (int x = xFrom; x <= xTo; ++x) {
    touch(x, frame.top());
    if (frame.bottom() != frame.top()) touch(x, frame.bottom());
  }
  const int yFrom = std::max(frame.top() + 1, bounds.top() - 1);
  const int yTo = std::min(frame.bottom() - 1, bounds.bottom() + 1);
  for (int y = yFrom; y <= yTo; ++y) {
    touch(frame.left(), y);
    if (frame.right() != frame.left()) touch(frame.right(), y);
  }
}

const std::array<Rgb, 256>& Canvas::lookupFor(const Image& source) {
  const std::vector<Rgb> palette = source.colorTable();
  if (!lookupValid_ || palette != lookupPalette_) {
    lookup_.fill(kOpaque);
    const int count = std::min<int>(static_cast<int>(palette.size()), 256);
    for (int i = 0; i < count; ++i) lookup_[static_cast<size_t>(i)] = kOpaque | palette[i];
    lookupPalette_ = palette;
    lookupValid_ = true;
  }
  return lookup_;
}

void Canvas::copyIndexedToRgb(Point target, const Image& source, const Rect& from) {
  const std::array<Rgb, 256>& lookup = lookupFor(source);
  for (int row = 0; row < from.height(); ++row) {
    const std::uint8_t* in = source.constScanLine(from.top() + row) + from.left();
    auto* out = reinterpret_cast<Rgb*>(image_.scanLine(target.y() + row)) + target.x();
    for (int x = 0; x < from.width(); ++x) out[x] = lookup[in[x]];
  }
}

void Canvas::copyRect(Point target, const Image& source, const Rect& sourceRect) {
  if (!drawable() || source.isNull()) return;
  if (&source == &image_) {
    const Image detached = source.copy();
    copyRect(target, detached, sourceRect);
    return;
  }
  const CopyPlan plan = PlanCopy(target, source, sourceRect, image_.size());
  if (plan.empty()) return;
  const Rect& from = plan.from;
  const bool indexedTarget = image_.format() == Image::Format_Indexed8;
  if (source.format() == Image::Format_Indexed8 && !indexedTarget) {
    copyIndexedToRgb(plan.to, source, from);
    return;
  }
  const bool sameFormat = (source.format() == Image::Format_Indexed8 && indexedTarget) ||
                          (source.format() == Image::Format_RGB32 && !indexedTarget);
  if (sameFormat) {
    const int pixelBytes = indexedTarget ? 1 : 4;
    const size_t rowBytes = static_cast<size_t>(from.width() * pixelBytes);
    for (int row = 0; row < from.height(); ++row)
      std::memcpy(image_.scanLine(plan.to.y() + row) + plan.to.x() * pixelBytes,
                  source.constScanLine(from.top() + row) + from.left() * pixelBytes, rowBytes);
    return;
  }
  // Colours onto an indexed picture take their nearest entries.
  for (int row = 0; row < from.height(); ++row) {
    const auto* in = reinterpret_cast<const Rgb*>(source.constScanLine(from.top() + row)) + from.left();
    std::uint8_t* out = image_.scanLine(plan.to.y() + row) + plan.to.x();
    for (int x = 0; x < from.width(); ++x) out[x] = static_cast<std::uint8_t>(pixelValue(in[x]));
  }
}

}  // namespace kxc2
