#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "draw/image.h"

namespace kxc2 {

// Shows a picture of its own size and reports the pointer in picture pixels.
// It never draws the map itself: whoever owns the picture draws into it and
// then asks for a repaint.
class ImageControl : public QWidget {
  Q_OBJECT

 public:
  explicit ImageControl(QWidget* parent = nullptr);

  Image& picture() { return picture_; }
  const Image& picture() const { return picture_; }
  // A picture of the control's current size, black, in RGB32.
  void makePicture();

 signals:
  void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
  void mouseMoved(QPoint position);
  void mouseReleased(Qt::MouseButton button, QPoint position);
  void mouseLeft();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  Image picture_;
};

}  // namespace kxc2
