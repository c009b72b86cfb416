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

  // Shown in place; it must outlive the control or be replaced first.
  void setPicture(const Image* picture) { picture_ = picture; }
  const Image& picture() const { return *picture_; }

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
  const Image* picture_ = nullptr;
};

}  // namespace kxc2
