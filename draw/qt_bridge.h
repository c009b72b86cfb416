#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include "draw/image.h"

namespace kxc2 {

// A copy of a toolkit image as the kit's own: Indexed8 keeps its indices and
// table, every other format becomes RGB32.
Image FromQImage(const QImage& image);

// The toolkit's view of image's own memory, its table as the colour table:
// drawing on either shows on both while image keeps its size.
QImage QImageOver(Image& image);
const QImage QImageOver(const Image& image);

// A deep copy, for pictures that outlive their Image.
QImage ToQImage(const Image& image);

inline Point FromQPoint(QPoint point) { return {point.x(), point.y()}; }
inline Rect FromQRect(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }
inline QPoint ToQPoint(Point point) { return {point.x(), point.y()}; }
inline QRect ToQRect(const Rect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

}  // namespace kxc2
