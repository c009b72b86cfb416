#include "editor/keys_window.h"

#include <QLabel>
#include <QVBoxLayout>
#include <iterator>

namespace kxc2 {
namespace {

struct Gesture {
  const char* keys;
  const char* does;
};

constexpr Gesture kGestures[] = {
    {"Left click", "Paint the hex with the list's terrain (\"LMB sets terrain\" ticked); "
                   "painting Ocean clears its roads. Unticked: select the hex and pick up its terrain"},
    {"Left drag", "Paint every hex the pointer crosses, as one step to undo"},
    {"Shift + left click", "Fill the connected area of the clicked hex's terrain with the list's terrain"},
    {"Ctrl+F", "Fill the connected area of the selected hex's terrain with the list's terrain"},
    {"Right click", "Select the hex and pick up its terrain and roads"},
    {"Middle click", "Select the hex"},
    {"W  E  R", "Road to the upper left, up, the upper right of the selected hex (on or off)"},
    {"S  D  F", "Road to the lower left, down, the lower right of the selected hex (on or off)"},
    {"Ctrl+Z", "Undo"},
    {"Ctrl+Y, Ctrl+Shift+Z", "Redo"},
    {"Edit > Zoom In / Zoom Out", "The close-up or the whole map"},
    {"Scroll bars", "Move the close-up over the map"},
    {"Drop a .map file", "Open it"},
};

}  // namespace

KeysWindow::KeysWindow(QWidget* parent) : QWidget(parent) {
  setObjectName("KeysWindow");
  setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
  setWindowTitle("Keys and Mouse");
  QString rows;
  for (const Gesture& gesture : kGestures)
    rows += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                .arg(QString::fromUtf8(gesture.keys).toHtmlEscaped(), QString::fromUtf8(gesture.does).toHtmlEscaped());
  List = new QLabel(QStringLiteral("<table cellspacing=0 cellpadding=4>%1</table>").arg(rows), this);
  List->setObjectName("List");
  List->setTextFormat(Qt::RichText);
  List->setWordWrap(true);
  List->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addWidget(List);
  setFixedWidth(600);
}

void KeysWindow::showKeys() {
  show();
  raise();
  activateWindow();
}

}  // namespace kxc2
