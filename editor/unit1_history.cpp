// Undo and redo, the unsaved marker in the title, the recovery copy.
#include <QDir>
#include <QKeyEvent>
#include <vector>

#include "editing/map_view.h"
#include "editing/recovery_keeper.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editor/qt_window_thread.h"

namespace {

const char* const kRecoveryQuestion =
    "An editor that did not end normally left a recovery copy of %1, written %2.\n\n"
    "Do you want to open it? No deletes the copy; Cancel keeps it for the next start.";
const char* const kUnreadableCopy = "The recovery copy %1 cannot be read (%2); it is kept in %3";
const char* const kCopyNotWritten =
    "The recovery copy of this map cannot be written (%1); editing goes on without it";

}  // namespace

void TForm1::buildHistory(QMenu* menu) {
  history_ = std::make_unique<kxc2::EditHistory>(
      [this](const kxc2::HexChange& change, bool after, bool firstApply) {
        writeHexChange(change, after, firstApply);
      });
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
  showHistory();
  connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
  connect(Redo1, &QAction::triggered, this, &TForm1::Redo1Click);

  windowThread_ = std::make_unique<kxc2::QtWindowThread>();
  recovery_ = std::make_unique<kxc2::RecoveryKeeper>(
      kxc2::RecoveryStore::DefaultFolder(), document_, [this] { return mapFile_.toStdString(); },
      [this](const std::string& reason) { reportRecoveryFailure(QString::fromStdString(reason)); },
      *windowThread_);
  history_->onChanged([this](bool stepped) {
    showHistory();
    if (stepped && !history_->isClean()) recovery_->mapChanged();
  });
  history_->onCleanChanged([this](bool clean) { historyCleanChanged(clean); });
}

// The texts and states QUndoStack's own actions showed.
void TForm1::showHistory() {
  const auto prefixed = [](const char* prefix, const std::string& text) {
    return text.empty() ? QString::fromLatin1(prefix)
                        : QString::fromLatin1(prefix) + QLatin1Char(' ') + QString::fromStdString(text);
  };
  Undo1->setText(prefixed("&Undo", history_->undoText()));
  Undo1->setEnabled(history_->canUndo());
  Redo1->setText(prefixed("&Redo", history_->redoText()));
  Redo1->setEnabled(history_->canRedo());
}

bool TForm1::applyHexChange(kxc2::HexChange change) {
  if (!change.keepOnlyChanged()) return false;
  history_->push(std::move(change));
  return true;
}

void TForm1::writeHexChange(const kxc2::HexChange& change, bool after, bool firstApply) {
  std::vector<kxc2::HexCoord> hexes;
  QVector<QPoint> points;
  hexes.reserve(change.edits().size());
  points.reserve(qsizetype(change.edits().size()));
  bool selectionChanged = false;
  mapView_->ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  for (const kxc2::HexEdit& edit : change.edits()) {
    document_.grid.setRecord(edit.hex.column, edit.hex.row, after ? edit.after : edit.before);
    hexes.push_back(edit.hex);
    points.append(QPoint(edit.hex.column, edit.hex.row));
    selectionChanged |= edit.hex == kxc2::HexCoord{view_.SelectedColumn, view_.SelectedRow};
  }
  // A click keeps its own way of drawing; undo and redo show what a full
  // redraw would, so undoing a change gives back the picture before it.
  if (firstApply)
    mapView_->RedrawCells(hexes);
  else
    mapView_->RedrawChanged(hexes);
  mapView_->ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  MapImage->update();
  if (!firstApply && selectionChanged) {
    LoadRoadBoxes(view_.SelectedColumn, view_.SelectedRow);
    WriteSelectedHexCaption();
  }
  refreshCursorCaption();
  emit hexesChanged(points);
}

void TForm1::Undo1Click() {
  endStroke();
  history_->undo();
}

void TForm1::Redo1Click() {
  endStroke();
  history_->redo();
}

void TForm1::historyCleanChanged(bool clean) {
  setWindowModified(!clean);
  if (clean) recovery_->mapSaved();
}

void TForm1::documentReplaced(const QString& file) {
  // The old map's drag must not go on painting the new one.
  if (stroke_.active) {
    stroke_.active = false;
    ignoreRelease_ = true;
  }
  mapFile_ = file;
  history_->clear();
  // clear() leaves an empty history's clean state alone, and a recovered map
  // has none: the new map is as it was read.
  history_->setClean();
  recovery_->mapSaved();
  applyMapBounds();
  emit mapReplaced();
}

void TForm1::documentSaved(const QString& file) {
  mapFile_ = file;
  history_->setClean();
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
  const QString source = QString::fromStdString(note.sourceFile);
  document_ = document;
  if (source.isEmpty()) {
    showUntitledCaption();
  } else {
    showMapCaption(source);
  }
  showReadMap();
  documentReplaced(source);
  history_->resetClean();  // unsaved, with nothing to undo
  recovery_->writeNow();
  return recovery_->waitForWrites();
}
