#include "editor/road_box.h"

#include <QMouseEvent>

namespace kxc2 {

void RoadBox::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  QCheckBox::mouseReleaseEvent(event);
  emit mouseReleased(button);
}

}  // namespace kxc2
