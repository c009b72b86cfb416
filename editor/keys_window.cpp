#include "editor/keys_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace kxc2 {
namespace {

struct Gesture {
  const char* keys;
  const char* does;
};

constexpr Gesture kMapGestures[] = {
    {"Left click", "Paint the hex with the list's terrain (\"LMB sets terrain\" ticked); "
                   "painting Ocean clears its roads. Unticked: select the hex and pick up its terrain"},
    {"Left drag", "Paint every hex the pointer crosses, as one step to undo"},
    {"Shift + left click", "Fill the connected area of the clicked hex's terrain with the list's terrain"},
    {"Right click", "Select the hex and pick up its terrain and roads"},
    {"Middle click", "Select the hex"},
    {"W  E  R", "Road to the upper left, up, the upper right of the selected hex (on or off)"},
    {"S  D  F", "Road to the lower left, down, the lower right of the selected hex (on or off)"},
    {"Scroll bars", "Move the close-up over the map"},
    {"Drop a .map file", "Open it"},
    {"Alt + underlined letter", "Open that menu; the underlined letter of an item then chooses it"},
};

constexpr Gesture kPreviewGestures[] = {
    {"Left click", "Select that hex in the editor"},
    {"Wheel, arrow keys", "Scroll the picture"},
};

QString Row(const QString& keys, const QString& does) {
  return QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(keys.toHtmlEscaped(), does.toHtmlEscaped());
}

QString Heading(const char* text) {
  return QStringLiteral("<tr><td colspan=2><i>%1</i></td></tr>").arg(QString::fromLatin1(text));
}

QString Keys(const QList<QKeySequence>& sequences) {
  return QKeySequence::listToString(sequences, QKeySequence::NativeText).replace(QLatin1String("; "), QLatin1String(", "));
}

// "File > New" for every item with keys, submenus included.
QString MenuRows(const QList<QAction*>& actions, const QString& path) {
  QString rows;
  for (const QAction* action : actions) {
    if (action->isSeparator()) continue;
    const QString name = path.isEmpty() ? WithoutAccessKey(action->text())
                                        : path + QStringLiteral(" > ") + WithoutAccessKey(action->text());
    if (action->menu() != nullptr)
      rows += MenuRows(action->menu()->actions(), name);
    else if (!action->shortcuts().isEmpty())
      rows += Row(Keys(action->shortcuts()), name);
  }
  return rows;
}

QString GestureRows(const Gesture* begin, const Gesture* end) {
  QString rows;
  for (const Gesture* gesture = begin; gesture != end; ++gesture)
    rows += Row(QString::fromUtf8(gesture->keys), QString::fromUtf8(gesture->does));
  return rows;
}

}  // namespace

QString WithoutAccessKey(QString text) {
  // "&&" stands for a shown "&".
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == QLatin1Char('&')) text.remove(i, 1);
  return text;
}

KeysWindow::KeysWindow(const QList<QAction*>& menus, QWidget* parent) : QWidget(parent) {
  setObjectName("KeysWindow");
  setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
  setWindowTitle("Keys and Mouse");
  const QString rows =
      Heading("Menus") + MenuRows(menus, QString()) + Heading("Map view") +
      GestureRows(std::begin(kMapGestures), std::end(kMapGestures)) + Heading("Artwork Preview") +
      Row(Keys(QKeySequence::keyBindings(QKeySequence::ZoomIn)), QStringLiteral("Zoom in")) +
      Row(Keys(QKeySequence::keyBindings(QKeySequence::ZoomOut)), QStringLiteral("Zoom out")) +
      GestureRows(std::begin(kPreviewGestures), std::end(kPreviewGestures)) + Heading("Every window") +
      Row(QStringLiteral("Esc"), QStringLiteral("Close Keys and Mouse, About or the Artwork Preview"));
  List = new QLabel(QStringLiteral("<table cellspacing=0 cellpadding=4>%1</table>").arg(rows), this);
  List->setObjectName("List");
  List->setTextFormat(Qt::RichText);
  List->setWordWrap(true);
  List->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->addWidget(List);
  // A wrapped label's height follows its width; without this the window
  // took its unwrapped height and cut off the last rows.
  setFixedSize(600, heightForWidth(600));
}

void KeysWindow::showKeys() {
  show();
  raise();
  activateWindow();
}

void KeysWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape)
    close();
  else
    QWidget::keyPressEvent(event);
}

}  // namespace kxc2
