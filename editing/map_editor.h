#pragma once

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"
#include "editing/edit_history.h"
#include "editing/map_view.h"
#include "editing/recent_maps.h"
#include "editing/recovery_keeper.h"
#include "editing/scroll_bars.h"
#include "editing/shell.h"
#include "editing/view_state.h"

namespace kxc2 {

// Everything the main window shows of the editor's state, read at once.
struct EditorSnapshot {
  std::array<std::string, 3> header;  // map, selected hex, hex under the pointer
  bool unsaved = false;
  std::array<bool, 6> roads{};  // Road1..Road6
  int terrainRow = -1;  // -1: no current item
  bool lmbSetsTerrain = true;
  bool zoomedIn = true;  // Zoom In checked, else Zoom Out
  ScrollBars scrollBars;
  bool mapShown = false;
  // Save, Paint .BMPs, Artwork Preview and Fill Area wait for a map.
  bool mapCommandsEnabled = false;
  bool undoEnabled = false;
  bool redoEnabled = false;
  std::string undoText;  // "&Undo Paint Ocean"
  std::string redoText;
  std::vector<std::string> recentMaps;  // newest first
  bool mapBounds = false;  // View > Map Bounds checked
  friend bool operator==(const EditorSnapshot&, const EditorSnapshot&) = default;
};

enum class MouseButton { Left, Right, Middle, Other };

// What a drop opens: one file, named .map in any case. A window that cannot
// name a dropped item locally passes "" for it.
bool IsOneMapFile(const std::vector<std::string>& files);

// The entries of OpenDialog1's filter list, counted from 1 as the dialog does.
inline constexpr int kMapsFilter = 1;
inline constexpr int kBitmapsFilter = 2;
inline constexpr int kProgramFilter = 3;

// The editor without its window: the map, the view and its picture, Undo,
// the painting tools, and the handlers of the map view and the road keys.
// Every handler tells the shell when the picture or the state changed.
class MapEditor {
 public:
  // recoveryFolder: where the unsaved map's recovery copy is kept.
  MapEditor(Shell& shell, std::string recoveryFolder);
  MapEditor(const MapEditor&) = delete;
  MapEditor& operator=(const MapEditor&) = delete;

  EditorSnapshot snapshot() const;
  void snapshotInto(EditorSnapshot& shot) const;

  MapDocument& document() { return document_; }
  const MapDocument& document() const { return document_; }
  ViewState& viewState() { return view_; }
  const ViewState& viewState() const { return view_; }
  const Image& picture() const { return picture_; }
  const Image& tiles() const { return tiles_; }
  const Image& tiles2() const { return tiles2_; }
  EditHistory& history() { return history_; }
  RecoveryKeeper& recovery() { return *recovery_; }
  Shell& shell() { return shell_; }
  // Empty for Untitled.
  const std::string& fileName() const { return fileName_; }
  // The view is shown by the first New or Open and never hidden again.
  bool mapPresent() const { return mapPresent_; }

  // The tools the window's controls set; no handler runs.
  void setTerrain(int code);  // -1: none
  void setLmbSetsTerrain(bool on);
  void setRoadBox(int index, bool checked);  // 0..5 for Road1..Road6

  // The map view's pointer, in picture pixels.
  void MapImageMouseDown(MouseButton button, bool shift, Point position);
  void MapImageMouseMove(Point position);
  void MapImageMouseUp(MouseButton button, Point position);
  void MapImageMouseLeave();
  // Another window took the pointer mid-drag: the stroke ends where it was,
  // as a release there would end it.
  void MapImageCaptureLost() { endStroke(); }
  // The road boxes into the selected hex.
  void PlaceRoads2();
  // A road key toggles its box; any character writes the boxes.
  void FormKeyPress(char key);
  void FillArea1Click();
  // A drag under way ends first, as its release would end it.
  void Undo1Click();
  void Redo1Click();

  void ZoomIn1Click();
  void ZoomOut1Click();
  void HScrollBarScroll(int scrollPos);
  void VScrollBarScroll(int scrollPos);
  // A new picture of this size; the origin stays in range.
  void setViewSize(int width, int height);

  // The view's operations on the picture.
  void ToggleFocusRect(int column, int row);
  void RedrawHex(int column, int row);
  void RedrawView();
  void WriteSelectedHexCaption();
  // Every change to the grid comes through here: writes the change's
  // after-bytes, redraws those hexes as a click does, tells the listeners and
  // makes the change one Undo step. Call it with the selection's frame
  // visible; it leaves the frame so. False, with nothing pushed, written or
  // drawn, when no byte would change.
  bool applyHexChange(HexChange change);

  // The steps of the file commands.
  void setHeaderText(int section, std::string text);
  // Zoomed in from the corner, terrain 0, nothing selected.
  void startView();
  // The map shown with hex (0, 0) selected.
  void showMapSelectedAtOrigin();
  // A read map: from the corner, hex (0, 0) selected and shown.
  void showReadMap();
  // Hexes past these columns and rows shade; redrawn when they changed.
  void setMapBounds(int columns, int rows);
  // A new map from New, Open or a recovered copy; file is empty for Untitled.
  void documentReplaced(const std::string& file);
  void documentSaved(const std::string& file);

  // The window's commands (map_editor_files.cpp). Start-up: the folders,
  // the game's folder, the settings and the start view. applicationName
  // names the per-user folder.
  void FormCreate(const std::string& programFolder, const std::string& applicationName);
  void New1Click();
  void Open1Click();
  void SaveAs1Click();
  // Open without its file dialog, for a file named on the command line, a
  // dropped file and a recent map: the save-first question, then the file.
  void openNamedMap(const std::string& fileName);
  void openRecentMap(const std::string& fileName);
  // Files dropped on the window: one .map file opens as a named map; any
  // other drop does nothing.
  void openDroppedFiles(const std::vector<std::string>& files);
  // False when the window must stay open.
  bool FormCloseQuery();
  // The menu item's new check state; kept in the settings file.
  void MapBounds1Click(bool on);
  // Copies left by editors that did not end normally: each is offered until
  // one is opened.
  void offerRecoveryCopies();
  // The game's art (map_editor_art.cpp).
  void PaintBMPs1Click();
  void WriteSHPs1Click();
  // Section 0 for a map from this file, or for an Untitled one.
  void showMapCaption(const std::string& fileName);
  void showUntitledCaption();
  void showCommandError(const std::exception& error);
  // End with a separator once FormCreate has settled them.
  const std::string& programFolder() const { return programFolder_; }
  const std::string& gameFolder() const { return gameFolder_; }
  const std::string& userFolder() const { return userFolder_; }
  // The settings of the open and save dialogs, kept between uses.
  Shell::FileDialogState OpenDialog1;
  Shell::FileDialogState SaveDialog1;

  // After the grid is written and redrawn: every hex a change, an undo or a
  // redo wrote. Several windows may listen; each listener's number lets a
  // window that goes before the editor stop listening.
  int onHexesChanged(std::function<void(const std::vector<HexCoord>&)> listener);
  // After New, Open or a recovered copy has replaced the whole map.
  int onMapReplaced(std::function<void()> listener);
  void removeListener(int number);

 private:
  void changed() { shell_.stateChanged(); }
  void pictureChanged();
  void writeHexChange(const HexChange& change, bool after, bool firstApply);
  void LoadRoadBoxes(int column, int row);
  std::uint8_t roadBoxMask() const;
  void writeRoadBoxesIntoSelection();
  void selectTerrainItem(int code);
  void WriteCursorHexCaption(int column, int row);
  void refreshCursorCaption();
  void paintStrokeTo(Point position);
  void fillArea(HexCoord start);
  void endStroke();
  void scrollOrigin(int& origin, int position);
  void zoom(bool in);

  enum class SaveOutcome { Saved, Cancelled, Failed };
  void prepareFileDialogs();
  void readOrAskGameFolder();
  void locateGame(const std::string& settingsPath);
  void createUserFolders();
  // The save-first question; false when the asking command must stop.
  bool askSaveFirst(const char* question);
  SaveOutcome saveMap();
  void openMapFile(const std::string& fileName);
  std::string settingsPath() const;
  void readRecentMaps();
  void rememberMap(const std::string& fileName);
  void forgetMap(const std::string& fileName);
  void writeRecentMaps();
  void readViewSettings();
  void writeViewSettings();
  // The header's bounds (or none) to the view after every change to the
  // header or the menu item.
  void applyMapBounds();
  // True when the recovered map is shown and has a copy of this editor's.
  bool openRecoveredCopy(const MapDocument& document, const RecoveryNote& note);

  Shell& shell_;
  MapDocument document_;
  ViewState view_;
  Image picture_;
  Image tiles_;
  Image tiles2_;
  std::unique_ptr<MapView> mapView_;
  EditHistory history_;
  std::string fileName_;
  bool mapPresent_ = false;
  std::array<std::string, 3> header_;
  int terrain_ = -1;
  bool lmbSetsTerrain_ = true;
  std::array<bool, 6> roads_{};
  std::optional<Point> pointer_;  // over the view
  struct Stroke {
    bool active = false;
    Point last;
    int number = 0;  // the stroke's changes merge into one Undo step
    std::vector<HexCoord> painted;
  } stroke_;
  // A drag ended by a command before its release; the release then does nothing.
  bool ignoreRelease_ = false;
  template <class Call>
  struct Listener {
    int number;
    Call call;
  };
  std::vector<Listener<std::function<void(const std::vector<HexCoord>&)>>> hexesListeners_;
  std::vector<Listener<std::function<void()>>> replacedListeners_;
  int lastListener_ = 0;
  std::string programFolder_;
  std::string gameFolder_;
  std::string userFolder_;
  std::string lastSaveChoice_;  // proposed for an Untitled map
  RecentMaps recentMaps_;
  bool mapBounds_ = false;
  // Last: it reads the document, and goes before the rest.
  std::unique_ptr<RecoveryKeeper> recovery_;
};

}  // namespace kxc2
