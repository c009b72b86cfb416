// Undo and redo, the unsaved marker in the title, the recovery copy.
#include <QDir>
#include <QKeyEvent>
#include <vector>

#include "editing/map_view.h"
#include "editing/recovery_keeper.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"

namespace {

const char* const kRecoveryQuestion =
    "An editor that did not end normally left a recovery copy of %1, written %2.\n\n"
    "Do you want to open it? No deletes the copy; Cancel keeps it for the next start.";
const char* const kUnreadableCopy = "The recovery copy %1 cannot be read (%2); it is kept in %3";
const char* const kCopyNotWritten =
    "The recovery copy of this map cannot be written (%1); editing goes on without it";

}  // namespace

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

  recovery_ = std::make_unique<kxc2::RecoveryKeeper>(
      kxc2::RecoveryStore::DefaultFolder(), document_, [this] { return editor_->fileName(); },
      [this](const std::string& reason) { reportRecoveryFailure(QString::fromStdString(reason)); },
      shell_->windowThread());
  editor_->onHistoryChanged([this](bool stepped) {
    if (stepped && !history().isClean()) recovery_->mapChanged();
  });
  editor_->onCleanChanged([this](bool clean) {
    if (clean) recovery_->mapSaved();
  });
  editor_->onHexesChanged([this](const std::vector<kxc2::HexCoord>& hexes) {
    QVector<QPoint> points;
    points.reserve(qsizetype(hexes.size()));
    for (const kxc2::HexCoord& hex : hexes) points.append(QPoint(hex.column, hex.row));
    emit hexesChanged(points);
  });
  editor_->onMapReplaced([this] {
    recovery_->mapSaved();
    emit mapReplaced();
  });
}

void TForm1::reportRecoveryFailure(const QString& reason) {
  dialogs_.showError(this, QString::fromLatin1(kCopyNotWritten).arg(reason));
}

void TForm1::offerRecoveryCopies() {
  for (const auto& copy : kxc2::TakeAbandonedCopies(recovery_->store().folder())) {
    kxc2::MapDocument document;
    kxc2::RecoveryNote note;
    try {
      copy->read(document, note);
    } catch (const std::exception& error) {
      const QString unreadable = QDir::toNativeSeparators(QString::fromStdString(copy->mapPath()));
      const QString aside = QDir::toNativeSeparators(QString::fromStdString(copy->keepAside()));
      dialogs_.showError(this, QString::fromLatin1(kUnreadableCopy)
                                   .arg(unreadable, QString::fromStdString(error.what()), aside));
      continue;
    }
    const QString name = note.sourceFile.empty()
                             ? QStringLiteral("Untitled")
                             : QDir::toNativeSeparators(QString::fromStdString(note.sourceFile));
    const QString time = QString::fromStdString(kxc2::LocalTimeText(note.time));
    switch (dialogs_.confirm(this, QString::fromLatin1(kRecoveryQuestion).arg(name, time))) {
      case kxc2::Answer::Yes:
        // The old copy goes only once this editor holds the work in one of its own.
        if (openRecoveredCopy(document, note)) copy->remove();
        return;  // one recovered map; any others wait for the next start
      case kxc2::Answer::No:
        copy->remove();
        break;
      case kxc2::Answer::Cancel:
        break;
    }
  }
}

bool TForm1::openRecoveredCopy(const kxc2::MapDocument& document, const kxc2::RecoveryNote& note) {
  document_ = document;
  if (note.sourceFile.empty()) {
    editor_->showUntitledCaption();
  } else {
    editor_->showMapCaption(note.sourceFile);
  }
  editor_->showReadMap();
  editor_->documentReplaced(note.sourceFile);
  history().resetClean();  // unsaved, with nothing to undo
  recovery_->writeNow();
  return recovery_->waitForWrites();
}
