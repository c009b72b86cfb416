// The window's commands: start-up, New, Open, Save, the close request, the
// recent maps and the settings they keep.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/ascii_case.h"
#include "core/game_paths.h"
#include "core/map_file.h"
#include "core/os_files.h"
#include "editing/ini_file.h"
#include "editing/map_editor.h"
#include "editing/settings_location.h"
#include "export/piece_layout.h"

namespace kxc2 {
namespace {

const char* const kSettingsSection = "Locations";
const char* const kGameFolderKey = "KC2";
const char* const kGameExecutable = "KORVEX2.EXE";
const char* const kViewSection = "View";
const char* const kMapBoundsKey = "MapBounds";

const char* const kOpenFilter = "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe";

const char* const kNewQuestion = "Do you want to save this map before starting a new one?";
const char* const kOpenQuestion = "Do you want to save this map before opening another?";
const char* const kExitQuestion = "Do you want to save this map before exiting?";

const char* const kUntitledCaption = "Untitled - %.2dW x %.2dH - No. ??";
const char* const kMapCaption = "%s - %.2dW x %.2dH - No. %2d";

std::string Formatted(const char* format, auto... values) {
  char text[512];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t separator = LastSeparator(path);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

// my.map.map gives "my", river gives "river".
std::string MapName(const std::string& path) {
  const std::string name = FileNameOf(path);
  return name.substr(0, name.find('.'));
}

// Made absolute and cleaned of "." and "..", links left alone.
std::string AbsoluteFilePath(const std::string& path) {
  std::error_code ignored;
  return Utf8Path(std::filesystem::absolute(FsPath(path), ignored).lexically_normal());
}

std::string NativeSeparators(std::string path) {
  for (char& c : path)
    if (IsPathSeparator(c)) c = kPathSeparator;
  return path;
}

bool IsFile(const std::string& path) { return !path.empty() && KindOf(path) == FileKind::Regular; }

}  // namespace

// ---- Start-up -----------------------------------------------------------

void MapEditor::FormCreate(const std::string& programFolder, const std::string& applicationName) {
  programFolder_ = WithTrailingSeparator(programFolder);
  gameFolder_ = programFolder_;
  userFolder_ = UserConfigFolder(applicationName);
  prepareFileDialogs();
  readOrAskGameFolder();
  readRecentMaps();
  readViewSettings();
  createUserFolders();
  SaveDialog1.initialFolder = ResolveNoCase(gameFolder_, "scenario");
  startView();
}

void MapEditor::prepareFileDialogs() {
  OpenDialog1.filter = kOpenFilter;
  SaveDialog1.title = "Save KC2 Map Description";
  SaveDialog1.filter = "KC2 Maps|*.map";
  SaveDialog1.filterIndex = 1;
  SaveDialog1.defaultExtension = "map";
  SaveDialog1.overwritePrompt = true;
}

std::string MapEditor::settingsPath() const { return SettingsFilePath(programFolder_, userFolder_); }

void MapEditor::readOrAskGameFolder() {
  const std::string path = settingsPath();
  if (!IsFile(path)) {
    locateGame(path);
    return;
  }
  const IniFile settings = IniFile::Load(path);
  gameFolder_ = settings.readString(kSettingsSection, kGameFolderKey, programFolder_);
}

void MapEditor::locateGame(const std::string& settingsPath) {
  OpenDialog1.title = "Please locate KORVEX2.EXE";
  OpenDialog1.filterIndex = kProgramFilter;
  OpenDialog1.fileName.clear();
  if (!shell_.runOpenDialog(OpenDialog1)) return;
  const std::string chosen = AbsoluteFilePath(OpenDialog1.fileName);
  if (AsciiUpper(FileNameOf(chosen)) != kGameExecutable) return;
  const std::string folder = WithTrailingSeparator(FolderOf(chosen));
  try {
    MakeSettingsFolder(settingsPath);
    WriteIniString(settingsPath, kSettingsSection, kGameFolderKey, folder);
  } catch (const std::exception&) {
    // The settings never bring up a message; the next start simply asks again.
  }
  gameFolder_ = folder;
}

void MapEditor::createUserFolders() {
  for (const char* name : {"UserBMP", "UserMap"}) {
    const std::filesystem::path folder(ResolveNoCase(gameFolder_, name));
    std::error_code ignored;
    if (!std::filesystem::is_directory(folder, ignored)) std::filesystem::create_directory(folder, ignored);
  }
}

// ---- Shared steps -------------------------------------------------------

bool MapEditor::askSaveFirst(const char* question) {
  switch (shell_.confirm(question)) {
    case Answer::Yes:
      // Saved or cancelled, the command goes on; only a failed save stops it.
      return saveMap() != SaveOutcome::Failed;
    case Answer::No:
      return true;
    case Answer::Cancel:
      break;
  }
  return false;
}

void MapEditor::showMapCaption(const std::string& fileName) {
  const MapHeader& header = document_.header;
  setHeaderText(0, Formatted(kMapCaption, MapName(fileName).c_str(), int(header.columns), int(header.rows),
                             int(header.mapNumber)));
}

void MapEditor::showUntitledCaption() {
  setHeaderText(0, Formatted(kUntitledCaption, int(document_.header.columns), int(document_.header.rows)));
}

void MapEditor::showCommandError(const std::exception& error) { shell_.showError(error.what()); }

// ---- New and Open -------------------------------------------------------

void MapEditor::New1Click() {
  if (mapPresent_ && !askSaveFirst(kNewQuestion)) return;
  document_.grid.reset();
  view_.SelectedColumn = 0;
  view_.SelectedRow = 0;
  WriteSelectedHexCaption();
  showMapSelectedAtOrigin();
  document_.header.columns = 44;
  document_.header.rows = 39;
  showUntitledCaption();
  documentReplaced({});
}

void MapEditor::Open1Click() {
  if (mapPresent_ && !askSaveFirst(kOpenQuestion)) return;
  OpenDialog1.filterIndex = kMapsFilter;
  OpenDialog1.title = "Open KC2 map description";
  OpenDialog1.fileName.clear();
  OpenDialog1.initialFolder = ResolveNoCase(gameFolder_, "scenario");
  if (!shell_.runOpenDialog(OpenDialog1)) return;
  openMapFile(OpenDialog1.fileName);
}

void MapEditor::openMapFile(const std::string& fileName) {
  MapFileReader reader;
  try {
    // Reads and checks the whole file: a failure here has changed nothing.
    reader.readHeader(fileName, document_.header);
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

void MapEditor::openNamedMap(const std::string& fileName) {
  if (mapPresent_ && !askSaveFirst(kOpenQuestion)) return;
  openMapFile(fileName);
}

bool IsOneMapFile(const std::vector<std::string>& files) {
  return files.size() == 1 && AsciiUpper(files.front()).ends_with(".MAP");
}

void MapEditor::openDroppedFiles(const std::vector<std::string>& files) {
  if (IsOneMapFile(files)) openNamedMap(files.front());
}

void MapEditor::openRecentMap(const std::string& fileName) {
  if (!IsFile(fileName)) {
    forgetMap(fileName);
    shell_.showError("The map " + NativeSeparators(fileName) + " no longer exists.");
    return;
  }
  openNamedMap(fileName);
}

// ---- Recent maps and the view's settings --------------------------------

void MapEditor::readRecentMaps() {
  recentMaps_ = RecentMaps::Read(IniFile::Load(settingsPath()));
  changed();
}

void MapEditor::rememberMap(const std::string& fileName) {
  recentMaps_.add(AbsoluteFilePath(fileName));
  writeRecentMaps();
}

void MapEditor::forgetMap(const std::string& fileName) {
  recentMaps_.remove(fileName);
  writeRecentMaps();
}

void MapEditor::writeRecentMaps() {
  changed();
  // Without a settings file the game is asked for at the next start; a file
  // made only for the list would end that.
  if (!IsFile(settingsPath())) return;
  // Read afresh: another editor or the user may have changed other lines.
  IniFile settings = IniFile::Load(settingsPath());
  recentMaps_.writeInto(settings);
  try {
    settings.save(settingsPath());
  } catch (const std::exception&) {
    // As with the game folder: the list simply is not remembered.
  }
}

void MapEditor::readViewSettings() {
  const IniFile settings = IniFile::Load(settingsPath());
  // Read as a number, as Windows programs read such flags: any other value is 0.
  mapBounds_ = std::atoi(settings.readString(kViewSection, kMapBoundsKey, "0").c_str()) != 0;
  applyMapBounds();
  changed();
}

void MapEditor::writeViewSettings() {
  // As with the recent maps: no settings file is made for this alone.
  if (!IsFile(settingsPath())) return;
  IniFile settings = IniFile::Load(settingsPath());
  settings.writeString(kViewSection, kMapBoundsKey, mapBounds_ ? "1" : "0");
  try {
    settings.save(settingsPath());
  } catch (const std::exception&) {
    // Not remembered, and no message: the view itself has changed.
  }
}

void MapEditor::MapBounds1Click(bool on) {
  mapBounds_ = on;
  applyMapBounds();
  writeViewSettings();
  changed();
}

void MapEditor::applyMapBounds() {
  // Brought into the dialog's range, as Save and the painter bring them: the
  // shading shows the map those would make of this header.
  const int columns = mapBounds_ ? ColumnsInDialogRange(document_.header.columns) : kGridColumns;
  const int rows = mapBounds_ ? RowsInDialogRange(document_.header.rows) : kGridRows;
  setMapBounds(columns, rows);
}

// ---- Save and the close request -----------------------------------------

void MapEditor::SaveAs1Click() { saveMap(); }

MapEditor::SaveOutcome MapEditor::saveMap() {
  Shell::MapParameters parameters{document_.header.columns, document_.header.rows};
  parameters.seasonEnabled = false;
  if (!shell_.runParameters(parameters)) return SaveOutcome::Cancelled;
  // These stand from here on, even when the file dialog is cancelled.
  document_.header = {parameters.mapNumber, parameters.columns, parameters.rows};
  applyMapBounds();
  // A map from a file proposes that file; an Untitled one the last choice.
  SaveDialog1.fileName = fileName_.empty() ? lastSaveChoice_ : AbsoluteFilePath(fileName_);
  if (!shell_.runSaveDialog(SaveDialog1)) return SaveOutcome::Cancelled;
  lastSaveChoice_ = SaveDialog1.fileName;

  const std::string fileName = SaveDialog1.fileName;
  try {
    // Written beside the target and renamed over it: a failure keeps the old file.
    WriteMapFile(fileName, document_);
  } catch (const std::exception& error) {
    showCommandError(error);
    return SaveOutcome::Failed;
  }
  showMapCaption(fileName);
  rememberMap(fileName);
  documentSaved(fileName);
  return SaveOutcome::Saved;
}

bool MapEditor::FormCloseQuery() { return !mapPresent_ || askSaveFirst(kExitQuestion); }

// ---- Recovery copies ----------------------------------------------------

void MapEditor::offerRecoveryCopies() {
  for (const auto& copy : TakeAbandonedCopies(recovery_->store().folder())) {
    MapDocument document;
    RecoveryNote note;
    try {
      copy->read(document, note);
    } catch (const std::exception& error) {
      const std::string unreadable = NativeSeparators(copy->mapPath());
      shell_.showError("The recovery copy " + unreadable + " cannot be read (" + error.what() +
                       "); it is kept in " + NativeSeparators(copy->keepAside()));
      continue;
    }
    const std::string name = note.sourceFile.empty() ? "Untitled" : NativeSeparators(note.sourceFile);
    const std::string question = "An editor that did not end normally left a recovery copy of " + name +
                                 ", written " + LocalTimeText(note.time) +
                                 ".\n\nDo you want to open it? No deletes the copy; Cancel keeps it for "
                                 "the next start.";
    switch (shell_.confirm(question)) {
      case Answer::Yes:
        // The old copy goes only once this editor holds the work in one of its own.
        if (openRecoveredCopy(document, note)) copy->remove();
        return;  // one recovered map; any others wait for the next start
      case Answer::No:
        copy->remove();
        break;
      case Answer::Cancel:
        break;
    }
  }
}

bool MapEditor::openRecoveredCopy(const MapDocument& document, const RecoveryNote& note) {
  document_ = document;
  if (note.sourceFile.empty()) {
    showUntitledCaption();
  } else {
    showMapCaption(note.sourceFile);
  }
  showReadMap();
  documentReplaced(note.sourceFile);
  history_.resetClean();  // unsaved, with nothing to undo
  recovery_->writeNow();
  return recovery_->waitForWrites();
}

}  // namespace kxc2
