// Window commands of the main window: start-up, New, Open, Save, Exit, About.
// What they do is the editor's; here are the window's own parts.
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/keys_window.h"
#include "editor/road_box.h"

// ---- Start-up -----------------------------------------------------------

void TForm1::FormCreate() {
  editor_->FormCreate(programFolder_.toStdString(), QCoreApplication::applicationName().toStdString());
  Road1->setFocus();
  editor_->offerRecoveryCopies();
}

TForm2& TForm1::parametersDialog() {
  if (!Form2) Form2 = new TForm2(this);
  return *Form2;
}

TForm3& TForm1::aboutWindow() {
  if (!Form3) Form3 = new TForm3(this);
  return *Form3;
}

// ---- The editor's commands ------------------------------------------------

void TForm1::New1Click() { editor_->New1Click(); }
void TForm1::Open1Click() { editor_->Open1Click(); }
void TForm1::SaveAs1Click() { editor_->SaveAs1Click(); }
void TForm1::openNamedMap(const QString& fileName) { editor_->openNamedMap(fileName.toStdString()); }
void TForm1::openRecentMap(const QString& fileName) { editor_->openRecentMap(fileName.toStdString()); }
void TForm1::FormCloseQuery(bool& canClose) { canClose = editor_->FormCloseQuery(); }
void TForm1::MapBounds1Click() { editor_->MapBounds1Click(MapBounds1->isChecked()); }
void TForm1::PaintBMPs1Click() { editor_->PaintBMPs1Click(); }
void TForm1::WriteSHPs1Click() { editor_->WriteSHPs1Click(); }

namespace {

// The one local .map file of a drag, or nothing.
QString DroppedMap(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return path.endsWith(QLatin1String(".map"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedMap(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString fileName = DroppedMap(event->mimeData());
  if (fileName.isEmpty()) return;
  event->acceptProposedAction();
  openNamedMap(fileName);
}

void TForm1::showRecentMaps(const std::vector<std::string>& paths) {
  if (shownRecentMaps_ == paths) return;
  shownRecentMaps_ = paths;
  RecentMaps1->clear();
  int number = 1;
  for (const std::string& path : paths) {
    const QString fileName = QString::fromStdString(path);
    QAction* action = RecentMaps1->addAction(QStringLiteral("&%1  %2").arg(number++).arg(QDir::toNativeSeparators(fileName)));
    connect(action, &QAction::triggered, this, [this, fileName] { openRecentMap(fileName); });
  }
  RecentMaps1->setEnabled(!paths.empty());
}

// ---- Exit, close request, About -----------------------------------------

void TForm1::Exit1Click() { close(); }

void TForm1::About1Click() { aboutWindow().showAbout(); }

void TForm1::KeysAndMouse1Click() {
  if (!keysWindow_) keysWindow_ = new kxc2::KeysWindow(MainMenu1->actions(), this);
  keysWindow_->showKeys();
}
