#pragma once

#include <QCheckBox>

namespace kxc2 {

// A check box that reports every mouse release after it has handled it, so a
// left click has already toggled the box when the report arrives.
class RoadBox : public QCheckBox {
  Q_OBJECT

 public:
  using QCheckBox::QCheckBox;

 signals:
  void mouseReleased(Qt::MouseButton button);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace kxc2
