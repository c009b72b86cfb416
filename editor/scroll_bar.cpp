#include "editor/scroll_bar.h"

namespace kxc2 {

void ScrollBar::contextMenuEvent(QContextMenuEvent* event) {
  const int before = value();
  QScrollBar::contextMenuEvent(event);
  if (value() != before) emit movedByMenu(value());
}

}  // namespace kxc2
