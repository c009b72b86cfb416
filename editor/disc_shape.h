#pragma once

#include <QColor>
#include <QWidget>

namespace kxc2 {

// A filled circle with an outline, the size of the control.
class DiscShape : public QWidget {
  Q_OBJECT

 public:
  explicit DiscShape(QWidget* parent = nullptr);

  void setColours(QColor fill, QColor outline, int outlineWidth);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_ = Qt::white;
  QColor outline_ = Qt::black;
  int outlineWidth_ = 1;
};

}  // namespace kxc2
