#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QLabel;

namespace kxc2 {

// Help > "Keys and Mouse": every key and mouse gesture of the editor, in a
// small modeless window that is made once and brought back to the front.
// The menus' keys come from their actions, so a new shortcut shows itself.
class KeysWindow : public QWidget {
  Q_OBJECT

 public:
  // menus: the menu bar's actions.
  explicit KeysWindow(const QList<QAction*>& menus, QWidget* parent = nullptr);

  void showKeys();

  // The list, as a table in rich text: it wraps and sizes itself.
  QLabel* List = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A menu or item text as shown, without its access-key marker.
QString WithoutAccessKey(QString text);

}  // namespace kxc2
