#include "editor/keys_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

#include "editing/menu_table.h"

namespace kxc2 {
namespace {

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

QString GestureRows(const std::vector<KeyRow>& gestures) {
  QString rows;
  for (const KeyRow& gesture : gestures) rows += Row(QString::fromStdString(gesture.keys), QString::fromStdString(gesture.does));
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
      GestureRows(MapViewKeyRows()) + Heading("Artwork Preview") +
      Row(Keys(QKeySequence::keyBindings(QKeySequence::ZoomIn)), QStringLiteral("Zoom in")) +
      Row(Keys(QKeySequence::keyBindings(QKeySequence::ZoomOut)), QStringLiteral("Zoom out")) +
      GestureRows(PreviewKeyRows()) + Heading("Every window") + GestureRows({EscapeKeyRow()});
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
