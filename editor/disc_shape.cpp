#include "editor/disc_shape.h"

#include <QPainter>
#include <QPen>

namespace kxc2 {

DiscShape::DiscShape(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DiscShape::setColours(QColor fill, QColor outline, int outlineWidth) {
  fill_ = fill;
  outline_ = outline;
  outlineWidth_ = outlineWidth;
  update();
}

void DiscShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QPen pen(outline_, outlineWidth_);
  painter.setPen(pen);
  painter.setBrush(fill_);
  // Keep the whole pen inside the control, as the outline is part of its size.
  const qreal inset = outlineWidth_ / 2.0;
  painter.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

}  // namespace kxc2
