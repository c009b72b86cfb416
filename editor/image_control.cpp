#include "editor/image_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include "draw/qt_bridge.h"

namespace kxc2 {
namespace {

// Floor, not round: a pointer dragged left of the control must stay negative.
QPoint PixelOf(const QMouseEvent& event) {
  return {qFloor(event.position().x()), qFloor(event.position().y())};
}

}  // namespace

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageControl::paintEvent(QPaintEvent* event) {
  if (picture_ == nullptr) return;
  QPainter painter(this);
  const QRect area = event->rect();
  // Shown in place: the toolkit reads the picture's own memory.
  painter.drawImage(area.topLeft(), QImageOver(*picture_), area);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
  emit mousePressed(event->button(), event->modifiers(), PixelOf(*event));
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) { emit mouseMoved(PixelOf(*event)); }

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
  emit mouseReleased(event->button(), PixelOf(*event));
}

void ImageControl::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit mouseLeft();
}

}  // namespace kxc2
