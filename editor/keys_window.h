#pragma once

#include <QWidget>

class QLabel;

namespace kxc2 {

// Help > "Keys and Mouse": every key and mouse gesture of the editor, in a
// small modeless window that is made once and brought back to the front.
class KeysWindow : public QWidget {
  Q_OBJECT

 public:
  explicit KeysWindow(QWidget* parent = nullptr);

  void showKeys();

  // The list, as a table in rich text: it wraps and sizes itself.
  QLabel* List = nullptr;
};

}  // namespace kxc2
