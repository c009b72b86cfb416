#pragma once

#include <QScrollBar>

namespace kxc2 {

// A scroll bar whose context menu also notifies: Qt's "Scroll here" sets
// the value directly, which raises no action, and a value set by code must
// stay silent.
class ScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  using QScrollBar::QScrollBar;

 signals:
  // After the context menu moved the bar, with its new position.
  void movedByMenu(int position);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace kxc2
