// The Edit menu's Undo, Redo and Fill Area; the editor's changes as signals.
#include <vector>

#include "editor/Unit1.h"
#include "editor/image_control.h"

void TForm1::buildHistory(QMenu* menu) {
  Undo1 = new QAction(this);
  Undo1->setObjectName(QStringLiteral("Undo1"));
  Undo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  Redo1 = new QAction(this);
  Redo1->setObjectName(QStringLiteral("Redo1"));
  Redo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  FillArea1 = new QAction(QStringLiteral("&Fill Area"), this);
  FillArea1->setObjectName(QStringLiteral("FillArea1"));
  FillArea1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  FillArea1->setEnabled(false);  // until New or Open brings a map
  N3 = new QAction(this);
  N3->setObjectName(QStringLiteral("N3"));
  N3->setSeparator(true);
  menu->addActions({Undo1, Redo1, FillArea1, N3});
  connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
  connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);

  editor_->onHexesChanged([this](const std::vector<kxc2::HexCoord>& hexes) {
    QVector<QPoint> points;
    points.reserve(qsizetype(hexes.size()));
    for (const kxc2::HexCoord& hex : hexes) points.append(QPoint(hex.column, hex.row));
    emit hexesChanged(points);
  });
  editor_->onMapReplaced([this] { emit mapReplaced(); });
}
