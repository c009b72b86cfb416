// Window commands of the main window: start-up, New, Open, Save, Exit, About.
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QListWidget>
#include <QScrollBar>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/ascii_case.h"
#include "core/game_paths.h"
#include "core/io_error.h"
#include "core/map_file.h"
#include "editing/ini_file.h"
#include "editing/scroll_bars.h"
#include "editing/settings_location.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "editor/image_control.h"
#include "editor/keys_window.h"
#include "editor/road_box.h"
#include "export/piece_layout.h"

namespace {

const char* const kSettingsSection = "Locations";
const char* const kGameFolderKey = "KC2";
const char* const kGameExecutable = "KORVEX2.EXE";
const char* const kViewSection = "View";
const char* const kMapBoundsKey = "MapBounds";

const char* const kOpenFilter = "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe";
constexpr int kMapsFilter = 1;
constexpr int kProgramFilter = 3;

const char* const kNewQuestion = "Do you want to save this map before starting a new one?";
const char* const kOpenQuestion = "Do you want to save this map before opening another?";
const char* const kExitQuestion = "Do you want to save this map before exiting?";

const char* const kUntitledCaption = "Untitled - %.2dW x %.2dH - No. ??";
const char* const kMapCaption = "%s - %.2dW x %.2dH - No. %2d";

std::string Local(const QString& path) { return path.toStdString(); }
QString FromLocal(const std::string& path) { return QString::fromStdString(path); }

// my.map.map gives "my", river gives "river".
QString MapName(const QString& path) { return QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0); }

// base + name, found in any case when such an entry exists.
QString GamePath(const QString& base, const char* name) {
  return FromLocal(kxc2::ResolveNoCase(Local(base), name));
}

}  // namespace

// ---- Start-up -----------------------------------------------------------

void TForm1::FormCreate() {
  programFolder_ = FromLocal(kxc2::WithTrailingSeparator(Local(programFolder_)));
  gameFolder_ = programFolder_;
  userFolder_ = FromLocal(kxc2::UserConfigFolder(Local(QCoreApplication::applicationName())));
  prepareFileDialogs();
  readOrAskGameFolder();
  readRecentMaps();
  readViewSettings();
  createUserFolders();
  SaveDialog1.initialFolder = GamePath(gameFolder_, "scenario");
  setStartViewState();
  Road1->setFocus();
  offerRecoveryCopies();
}

void TForm1::prepareFileDialogs() {
  OpenDialog1.filter = QString::fromLatin1(kOpenFilter);
  SaveDialog1.title = QStringLiteral("Save KC2 Map Description");
  SaveDialog1.filter = QStringLiteral("KC2 Maps|*.map");
  SaveDialog1.filterIndex = 1;
  SaveDialog1.defaultExtension = QStringLiteral("map");
  SaveDialog1.overwritePrompt = true;
}

void TForm1::readOrAskGameFolder() {
  const QString path = settingsPath();
  if (!QFileInfo(path).isFile()) {
    locateGame(path);
    return;
  }
  const kxc2::IniFile settings = kxc2::IniFile::Load(Local(path));
  gameFolder_ = FromLocal(settings.readString(kSettingsSection, kGameFolderKey, Local(programFolder_)));
}

void TForm1::locateGame(const QString& settingsPath) {
  OpenDialog1.title = QStringLiteral("Please locate KORVEX2.EXE");
  OpenDialog1.filterIndex = kProgramFilter;
  OpenDialog1.fileName.clear();
  if (!dialogs_.runOpenDialog(this, OpenDialog1)) return;
  const QFileInfo chosen(OpenDialog1.fileName);
  if (kxc2::AsciiUpper(Local(chosen.fileName())) != kGameExecutable) return;
  const QString folder = FromLocal(kxc2::WithTrailingSeparator(Local(chosen.absolutePath())));
  try {
    kxc2::MakeSettingsFolder(Local(settingsPath));
    kxc2::WriteIniString(Local(settingsPath), kSettingsSection, kGameFolderKey, Local(folder));
  } catch (const std::exception&) {
    // The settings never bring up a message; the next start simply asks again.
  }
  gameFolder_ = folder;
}

void TForm1::createUserFolders() {
  for (const char* name : {"UserBMP", "UserMap"}) {
    const std::filesystem::path folder(Local(GamePath(gameFolder_, name)));
    std::error_code ignored;
    if (!std::filesystem::is_directory(folder, ignored)) std::filesystem::create_directory(folder, ignored);
  }
}

void TForm1::setStartViewState() { editor_->startView(); }

// ---- Shared steps -------------------------------------------------------

bool TForm1::mapPresent() const { return editor_->mapPresent(); }

bool TForm1::askSaveFirst(const QString& question) {
  switch (dialogs_.confirm(this, question)) {
    case kxc2::Answer::Yes:
      // Saved or cancelled, the command goes on; only a failed save stops it.
      return saveMap() != SaveOutcome::Failed;
    case kxc2::Answer::No:
      return true;
    case kxc2::Answer::Cancel:
      break;
  }
  return false;
}

void TForm1::showMapCaption(const QString& fileName) {
  const kxc2::MapHeader& header = document_.header;
  setHeaderSection(0, QString::asprintf(kMapCaption, MapName(fileName).toUtf8().constData(), header.columns,
                                        header.rows, header.mapNumber));
}

void TForm1::showCommandError(const std::exception& error) { shell_->showError(error.what()); }

TForm2& TForm1::parametersDialog() {
  if (!Form2) Form2 = new TForm2(this);
  return *Form2;
}

TForm3& TForm1::aboutWindow() {
  if (!Form3) Form3 = new TForm3(this);
  return *Form3;
}

// ---- New ----------------------------------------------------------------

void TForm1::New1Click() {
  if (mapPresent() && !askSaveFirst(QString::fromLatin1(kNewQuestion))) return;
  document_.grid.reset();
  view_.SelectedColumn = 0;
  view_.SelectedRow = 0;
  WriteSelectedHexCaption();
  showMapSelectedAtOrigin();
  document_.header.columns = 44;
  document_.header.rows = 39;
  showUntitledCaption();
  documentReplaced(QString());
}

void TForm1::showUntitledCaption() {
  setHeaderSection(0, QString::asprintf(kUntitledCaption, document_.header.columns, document_.header.rows));
}

// ---- Open ---------------------------------------------------------------

void TForm1::Open1Click() {
  if (mapPresent() && !askSaveFirst(QString::fromLatin1(kOpenQuestion))) return;

  OpenDialog1.filterIndex = kMapsFilter;
  OpenDialog1.title = QStringLiteral("Open KC2 map description");
  OpenDialog1.fileName.clear();
  OpenDialog1.initialFolder = GamePath(gameFolder_, "scenario");
  if (!dialogs_.runOpenDialog(this, OpenDialog1)) return;
  openMapFile(OpenDialog1.fileName);
}

void TForm1::openMapFile(const QString& fileName) {
  kxc2::MapFileReader reader;
  try {
    // Reads and checks the whole file: a failure here has changed nothing.
    reader.readHeader(Local(fileName), document_.header);
  } catch (const std::exception& error) {
    showCommandError(error);
    return;
  }
  showMapCaption(fileName);
  reader.readGrid(document_.grid);
  showReadMap();
  documentReplaced(fileName);
  rememberMap(fileName);
}

void TForm1::showReadMap() { editor_->showReadMap(); }

// ---- Opened from elsewhere and recent maps --------------------------------

void TForm1::openNamedMap(const QString& fileName) {
  if (mapPresent() && !askSaveFirst(QString::fromLatin1(kOpenQuestion))) return;
  openMapFile(fileName);
}

void TForm1::openRecentMap(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) {
    forgetMap(fileName);
    dialogs_.showError(this, QStringLiteral("The map %1 no longer exists.").arg(QDir::toNativeSeparators(fileName)));
    return;
  }
  openNamedMap(fileName);
}

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

QString TForm1::settingsPath() const {
  return FromLocal(kxc2::SettingsFilePath(Local(programFolder_), Local(userFolder_)));
}

void TForm1::readRecentMaps() {
  recentMaps_ = kxc2::RecentMaps::Read(kxc2::IniFile::Load(Local(settingsPath())));
  rebuildRecentMenu();
}

void TForm1::rememberMap(const QString& fileName) {
  recentMaps_.add(Local(QFileInfo(fileName).absoluteFilePath()));
  writeRecentMaps();
}

void TForm1::forgetMap(const QString& fileName) {
  recentMaps_.remove(Local(fileName));
  writeRecentMaps();
}

void TForm1::writeRecentMaps() {
  rebuildRecentMenu();
  // Without a settings file the game is asked for at the next start; a file
  // made only for the list would end that.
  if (!QFileInfo(settingsPath()).isFile()) return;
  // Read afresh: another editor or the user may have changed other lines.
  kxc2::IniFile settings = kxc2::IniFile::Load(Local(settingsPath()));
  recentMaps_.writeInto(settings);
  try {
    settings.save(Local(settingsPath()));
  } catch (const std::exception&) {
    // As with the game folder: the list simply is not remembered.
  }
}

void TForm1::readViewSettings() {
  const kxc2::IniFile settings = kxc2::IniFile::Load(Local(settingsPath()));
  // Read as a number, as Windows programs read such flags: any other value is 0.
  MapBounds1->setChecked(std::atoi(settings.readString(kViewSection, kMapBoundsKey, "0").c_str()) != 0);
  applyMapBounds();
}

void TForm1::writeViewSettings() {
  // As with the recent maps: no settings file is made for this alone.
  if (!QFileInfo(settingsPath()).isFile()) return;
  kxc2::IniFile settings = kxc2::IniFile::Load(Local(settingsPath()));
  settings.writeString(kViewSection, kMapBoundsKey, MapBounds1->isChecked() ? "1" : "0");
  try {
    settings.save(Local(settingsPath()));
  } catch (const std::exception&) {
    // Not remembered, and no message: the view itself has changed.
  }
}

void TForm1::MapBounds1Click() {
  applyMapBounds();
  writeViewSettings();
}

void TForm1::applyMapBounds() {
  // Brought into the dialog's range, as Save and the painter bring them: the
  // shading shows the map those would make of this header.
  const bool on = MapBounds1->isChecked();
  const int columns = on ? kxc2::ColumnsInDialogRange(document_.header.columns) : kxc2::kGridColumns;
  const int rows = on ? kxc2::RowsInDialogRange(document_.header.rows) : kxc2::kGridRows;
  editor_->setMapBounds(columns, rows);
}

void TForm1::rebuildRecentMenu() {
  RecentMaps1->clear();
  int number = 1;
  for (const std::string& path : recentMaps_.paths()) {
    const QString fileName = FromLocal(path);
    QAction* action = RecentMaps1->addAction(QStringLiteral("&%1  %2").arg(number++).arg(QDir::toNativeSeparators(fileName)));
    connect(action, &QAction::triggered, this, [this, fileName] { openRecentMap(fileName); });
  }
  RecentMaps1->setEnabled(!recentMaps_.paths().empty());
}

void TForm1::showMapSelectedAtOrigin() { editor_->showMapSelectedAtOrigin(); }

// ---- Save ---------------------------------------------------------------

void TForm1::SaveAs1Click() { saveMap(); }

bool TForm1::runParametersDialog() {
  kxc2::Shell::MapParameters parameters{document_.header.columns, document_.header.rows};
  parameters.seasonEnabled = false;
  if (!shell_->runParameters(parameters)) return false;
  // These stand from here on, even when the file dialog is cancelled.
  document_.header = {parameters.mapNumber, parameters.columns, parameters.rows};
  return true;
}

TForm1::SaveOutcome TForm1::saveMap() {
  if (!runParametersDialog()) return SaveOutcome::Cancelled;
  applyMapBounds();
  // A map from a file proposes that file; an Untitled one the last choice.
  const QString mapFile = FromLocal(editor_->fileName());
  SaveDialog1.fileName = mapFile.isEmpty() ? lastSaveChoice_ : QFileInfo(mapFile).absoluteFilePath();
  if (!dialogs_.runSaveDialog(this, SaveDialog1)) return SaveOutcome::Cancelled;
  lastSaveChoice_ = SaveDialog1.fileName;

  const QString fileName = SaveDialog1.fileName;
  try {
    // Written beside the target and renamed over it: a failure keeps the old file.
    kxc2::WriteMapFile(Local(fileName), document_);
  } catch (const std::exception& error) {
    showCommandError(error);
    return SaveOutcome::Failed;
  }
  showMapCaption(fileName);
  rememberMap(fileName);
  documentSaved(fileName);
  return SaveOutcome::Saved;
}

// ---- Exit, close request, About -----------------------------------------

void TForm1::Exit1Click() { close(); }

void TForm1::FormCloseQuery(bool& canClose) {
  if (!mapPresent()) return;
  switch (dialogs_.confirm(this, QString::fromLatin1(kExitQuestion))) {
    case kxc2::Answer::Yes:
      canClose = saveMap() != SaveOutcome::Failed;
      break;
    case kxc2::Answer::No:
      break;
    case kxc2::Answer::Cancel:
      canClose = false;
      break;
  }
}

void TForm1::About1Click() { aboutWindow().showAbout(); }

void TForm1::KeysAndMouse1Click() {
  if (!keysWindow_) keysWindow_ = new kxc2::KeysWindow(MainMenu1->actions(), this);
  keysWindow_->showKeys();
}
