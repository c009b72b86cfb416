#include "editing/map_editor.h"

#include <utility>
#include <vector>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "editing/hex_caption.h"
#include "editing/paint_gestures.h"

namespace kxc2 {
namespace {

const char* const kCursorCaption = "Hex Under Cursor";

// "&Undo Paint Ocean", or "&Undo" alone when there is nothing to name.
void AssignPrefixed(std::string& out, const char* prefix, const std::string& text) {
  out.assign(prefix);
  if (!text.empty()) out.append(1, ' ').append(text);
}

Image BlackPicture(int width, int height) {
  Image picture(width, height, Image::Format_RGB32);
  picture.fill(MakeRgb(0, 0, 0));
  return picture;
}

}  // namespace

MapEditor::MapEditor(Shell& shell, std::string recoveryFolder)
    : shell_(shell),
      picture_(BlackPicture(view_.ViewWidth, view_.ViewHeight)),
      tiles_(PrepareAtlas(MapTilesPicture())),
      tiles2_(PrepareAtlas(MapTiles2Picture())),
      mapView_(std::make_unique<MapView>(document_.grid, view_, picture_, tiles_, tiles2_)),
      history_([this](const HexChange& change, bool after, bool firstApply) {
        writeHexChange(change, after, firstApply);
      }),
      header_{"Map Name", "Selected Hex", kCursorCaption} {
  recovery_ = std::make_unique<RecoveryKeeper>(
      std::move(recoveryFolder), document_, [this] { return fileName_; },
      [this](const std::string& reason) {
        shell_.showError("The recovery copy of this map cannot be written (" + reason +
                         "); editing goes on without it");
      },
      shell_.windowThread());
  history_.onChanged([this](bool stepped) {
    if (stepped && !history_.isClean()) recovery_->mapChanged();
    changed();
  });
  history_.onCleanChanged([this](bool clean) {
    if (clean) recovery_->mapSaved();
    changed();
  });
}

EditorSnapshot MapEditor::snapshot() const {
  EditorSnapshot shot;
  snapshotInto(shot);
  return shot;
}

// Assigned field by field, so a shell that keeps one snapshot to fill
// reuses its strings' memory: the pointer's every move ends here.
void MapEditor::snapshotInto(EditorSnapshot& shot) const {
  for (std::size_t i = 0; i < header_.size(); ++i) shot.header[i].assign(header_[i]);
  shot.unsaved = !history_.isClean();
  shot.roads = roads_;
  shot.terrainRow = terrain_;
  shot.lmbSetsTerrain = lmbSetsTerrain_;
  shot.zoomedIn = view_.ZoomedIn;
  shot.scrollBars = ScrollBarsOf(view_);
  shot.mapShown = shot.mapCommandsEnabled = mapPresent_;
  shot.undoEnabled = history_.canUndo();
  shot.redoEnabled = history_.canRedo();
  AssignPrefixed(shot.undoText, "&Undo", history_.undoText());
  AssignPrefixed(shot.redoText, "&Redo", history_.redoText());
  if (shot.recentMaps != recentMaps_.paths()) shot.recentMaps = recentMaps_.paths();
  shot.mapBounds = mapBounds_;
}

void MapEditor::pictureChanged() { shell_.pictureChanged(Rect(0, 0, picture_.width(), picture_.height())); }

// ---- Tools --------------------------------------------------------------

void MapEditor::setTerrain(int code) {
  if (std::exchange(terrain_, code) != code) changed();
}

void MapEditor::setLmbSetsTerrain(bool on) {
  if (std::exchange(lmbSetsTerrain_, on) != on) changed();
}

void MapEditor::setRoadBox(int index, bool checked) {
  if (std::exchange(roads_.at(std::size_t(index)), checked) != checked) changed();
}

// ---- The view's operations ----------------------------------------------

void MapEditor::ToggleFocusRect(int column, int row) {
  mapView_->ToggleFocusRect(column, row);
  pictureChanged();
}

void MapEditor::RedrawHex(int column, int row) {
  mapView_->RedrawHex(column, row);
  pictureChanged();
}

void MapEditor::RedrawView() {
  mapView_->RedrawView();
  pictureChanged();
  // Scrolling, zooming and a new map move other hexes under the pointer.
  refreshCursorCaption();
}

void MapEditor::WriteSelectedHexCaption() {
  const int column = view_.SelectedColumn;
  const int row = view_.SelectedRow;
  if (!IsInGrid(column, row)) return;
  header_[1] = HexCaption(HexCaptionKind::Selected, column, row, document_.grid.terrain(column, row));
  changed();
}

void MapEditor::WriteCursorHexCaption(int column, int row) {
  header_[2] = HexCaption(HexCaptionKind::Cursor, column, row, document_.grid.terrain(column, row));
}

void MapEditor::refreshCursorCaption() {
  if (!pointer_) {
    header_[2] = kCursorCaption;
  } else {
    const HexCoord hex = PixelToHex(view_, pointer_->x(), pointer_->y());
    WriteCursorHexCaption(hex.column, hex.row);
  }
  changed();
}

void MapEditor::setHeaderText(int section, std::string text) {
  header_.at(std::size_t(section)) = std::move(text);
  changed();
}

// ---- Scrolling, zoom and size -------------------------------------------

void MapEditor::scrollOrigin(int& origin, int position) {
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  origin = position;
  RedrawView();
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
}

void MapEditor::HScrollBarScroll(int scrollPos) { scrollOrigin(view_.OriginColumn, scrollPos); }

void MapEditor::VScrollBarScroll(int scrollPos) { scrollOrigin(view_.OriginRow, scrollPos); }

void MapEditor::zoom(bool in) {
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  in ? ZoomIn(view_) : ZoomOut(view_);
  RedrawView();
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
}

void MapEditor::ZoomIn1Click() { zoom(true); }

void MapEditor::ZoomOut1Click() { zoom(false); }

void MapEditor::setViewSize(int width, int height) {
  if (width == view_.ViewWidth && height == view_.ViewHeight && picture_.width() == width &&
      picture_.height() == height)
    return;
  view_.ViewWidth = width;
  view_.ViewHeight = height;
  picture_ = BlackPicture(width, height);
  KeepOriginInRange(view_);
  pictureChanged();
  changed();
  if (!mapPresent_) return;
  RedrawView();
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
}

void MapEditor::startView() {
  view_.ZoomedIn = true;
  ShowFromCorner(view_);
  KeepOriginInRange(view_);
  terrain_ = 0;
  view_.SelectedColumn = -1;
  view_.SelectedRow = -1;
  view_.SelectionValid = false;
  changed();
}

void MapEditor::showMapSelectedAtOrigin() {
  mapPresent_ = true;
  RedrawView();
  ToggleFocusRect(0, 0);
  view_.SelectionValid = true;
  changed();
}

void MapEditor::showReadMap() {
  ShowFromCorner(view_);
  view_.SelectedColumn = 0;
  view_.SelectedRow = 0;
  WriteSelectedHexCaption();
  showMapSelectedAtOrigin();
}

void MapEditor::setMapBounds(int columns, int rows) {
  if (!mapView_->SetMapBounds(columns, rows) || !mapPresent_) return;
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  RedrawView();
  ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
}

// ---- Undo and the document ----------------------------------------------

bool MapEditor::applyHexChange(HexChange change) {
  if (!change.keepOnlyChanged()) return false;
  history_.push(std::move(change));
  return true;
}

void MapEditor::writeHexChange(const HexChange& change, bool after, bool firstApply) {
  std::vector<HexCoord> hexes;
  hexes.reserve(change.edits().size());
  bool selectionChanged = false;
  mapView_->ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  for (const HexEdit& edit : change.edits()) {
    document_.grid.setRecord(edit.hex.column, edit.hex.row, after ? edit.after : edit.before);
    hexes.push_back(edit.hex);
    selectionChanged |= edit.hex == HexCoord{view_.SelectedColumn, view_.SelectedRow};
  }
  // A click keeps its own way of drawing; undo and redo show what a full
  // redraw would, so undoing a change gives back the picture before it.
  if (firstApply)
    mapView_->RedrawCells(hexes);
  else
    mapView_->RedrawChanged(hexes);
  mapView_->ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  pictureChanged();
  if (!firstApply && selectionChanged) {
    LoadRoadBoxes(view_.SelectedColumn, view_.SelectedRow);
    WriteSelectedHexCaption();
  }
  refreshCursorCaption();
  // A copy: a listener may remove itself, or another, while called.
  const auto listeners = hexesListeners_;
  for (const auto& listener : listeners) listener.call(hexes);
}

void MapEditor::Undo1Click() {
  endStroke();
  history_.undo();
}

void MapEditor::Redo1Click() {
  endStroke();
  history_.redo();
}

void MapEditor::documentReplaced(const std::string& file) {
  // The old map's drag must not go on painting the new one.
  if (stroke_.active) {
    stroke_.active = false;
    ignoreRelease_ = true;
  }
  fileName_ = file;
  history_.clear();
  // clear() leaves an empty history's clean state alone, and a recovered map
  // has none: the new map is as it was read.
  history_.setClean();
  recovery_->mapSaved();
  applyMapBounds();
  const auto listeners = replacedListeners_;
  for (const auto& listener : listeners) listener.call();
}

int MapEditor::onHexesChanged(std::function<void(const std::vector<HexCoord>&)> listener) {
  hexesListeners_.push_back({++lastListener_, std::move(listener)});
  return lastListener_;
}

int MapEditor::onMapReplaced(std::function<void()> listener) {
  replacedListeners_.push_back({++lastListener_, std::move(listener)});
  return lastListener_;
}

void MapEditor::removeListener(int number) {
  std::erase_if(hexesListeners_, [number](const auto& listener) { return listener.number == number; });
  std::erase_if(replacedListeners_, [number](const auto& listener) { return listener.number == number; });
}

void MapEditor::documentSaved(const std::string& file) {
  fileName_ = file;
  history_.setClean();
}

// ---- Hex editing --------------------------------------------------------

void MapEditor::LoadRoadBoxes(int column, int row) {
  const std::uint8_t mask = document_.grid.roadMask(column, row);
  for (std::size_t i = 0; i < roads_.size(); ++i) roads_[i] = (mask & kRoadBoxBits[i]) != 0;
  changed();
}

std::uint8_t MapEditor::roadBoxMask() const {
  std::uint8_t mask = 0;
  for (std::size_t i = 0; i < roads_.size(); ++i)
    if (roads_[i]) mask |= kRoadBoxBits[i];
  return mask;
}

void MapEditor::writeRoadBoxesIntoSelection() {
  const int column = view_.SelectedColumn;
  const int row = view_.SelectedRow;
  HexChange change{kRoadsText};
  HexRecord record = document_.grid.record(column, row);
  record[2] = roadBoxMask();
  change.set(document_.grid, column, row, record);
  if (applyHexChange(std::move(change))) return;
  // Unchanged, the hex is still repainted.
  ToggleFocusRect(column, row);
  RedrawHex(column, row);
}

// A code without an item (foreign files only) leaves the list without a
// current item rather than failing.
void MapEditor::selectTerrainItem(int code) { setTerrain(code < kTerrainCount ? code : -1); }

void MapEditor::MapImageMouseDown(MouseButton button, bool shift, Point position) {
  if (button != MouseButton::Left || !mapPresent_) return;
  if (shift) {
    fillArea(PixelToHex(view_, position.x(), position.y()));
    return;
  }
  ignoreRelease_ = false;
  if (!lmbSetsTerrain_ || terrain_ < 0) return;
  stroke_ = {true, position, stroke_.number + 1, {}};
}

void MapEditor::MapImageMouseMove(Point position) {
  pointer_ = position;
  if (stroke_.active) paintStrokeTo(position);
  refreshCursorCaption();
}

void MapEditor::MapImageMouseLeave() {
  pointer_.reset();
  refreshCursorCaption();
}

void MapEditor::endStroke() {
  if (!stroke_.active) return;
  MapImageMouseUp(MouseButton::Left, stroke_.last);
  ignoreRelease_ = true;
}

// Every hex from the last pointer position to this one, by the click's rule;
// the stroke's changes merge into one Undo step.
void MapEditor::paintStrokeTo(Point position) {
  const int code = terrain_;
  if (code < 0) return;
  const MapGrid& grid = document_.grid;
  HexChange change(PaintText(code), stroke_.number);
  for (const HexCoord& hex : HexesAlongSegment(view_, stroke_.last, position)) {
    change.set(grid, hex.column, hex.row, PaintedRecord(grid.record(hex.column, hex.row), code));
    stroke_.painted.push_back(hex);
  }
  stroke_.last = position;
  applyHexChange(std::move(change));
}

void MapEditor::fillArea(HexCoord start) {
  const int code = terrain_;
  const MapGrid& grid = document_.grid;
  if (code < 0 || !IsInGrid(start.column, start.row) || grid.terrain(start.column, start.row) == code) return;
  HexChange change(FillText(code));
  for (const HexCoord& hex : ConnectedArea(grid, start))
    change.set(grid, hex.column, hex.row, PaintedRecord(grid.record(hex.column, hex.row), code));
  applyHexChange(std::move(change));
  if (IsInGrid(view_.SelectedColumn, view_.SelectedRow)) {
    LoadRoadBoxes(view_.SelectedColumn, view_.SelectedRow);
    WriteSelectedHexCaption();
  }
}

void MapEditor::FillArea1Click() {
  endStroke();
  if (!mapPresent_ || !view_.SelectionValid) return;
  fillArea({view_.SelectedColumn, view_.SelectedRow});
}

void MapEditor::MapImageMouseUp(MouseButton button, Point position) {
  if (button == MouseButton::Other) return;
  if (button == MouseButton::Left && std::exchange(ignoreRelease_, false)) return;
  bool strokeEnded = false;
  if (button == MouseButton::Left && stroke_.active) {
    // The last stretch, so the release's own paint below finds it done.
    paintStrokeTo(position);
    stroke_.active = false;
    strokeEnded = stroke_.painted.size() > 1;
  }
  if (view_.SelectedColumn >= 0) ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
  const HexCoord hex = PixelToHex(view_, position.x(), position.y());
  view_.SelectedColumn = hex.column;
  view_.SelectedRow = hex.row;
  view_.SelectionValid = true;
  MapGrid& grid = document_.grid;

  if (button == MouseButton::Right) {
    selectTerrainItem(grid.terrain(hex.column, hex.row));
    LoadRoadBoxes(hex.column, hex.row);
    ToggleFocusRect(hex.column, hex.row);
  } else if (button == MouseButton::Left && lmbSetsTerrain_) {
    // Only the list's own codes are ever painted; without a current item
    // the click just selects.
    const int code = terrain_;
    // The frame goes back where a change expects it; a click that changes
    // nothing then repaints the hex as before.
    ToggleFocusRect(hex.column, hex.row);
    bool changedHex = false;
    if (code >= 0) {
      HexChange change(PaintText(code));
      change.set(grid, hex.column, hex.row, PaintedRecord(grid.record(hex.column, hex.row), code));
      changedHex = applyHexChange(std::move(change));
    }
    LoadRoadBoxes(hex.column, hex.row);
    if (!changedHex) {
      ToggleFocusRect(hex.column, hex.row);
      RedrawHex(hex.column, hex.row);
    }
  } else if (button == MouseButton::Left) {
    selectTerrainItem(grid.terrain(hex.column, hex.row));
    LoadRoadBoxes(hex.column, hex.row);
    RedrawHex(hex.column, hex.row);
  } else {
    ToggleFocusRect(hex.column, hex.row);
  }
  // Painted hex by hex, a stroke's river lines would break where a later
  // hex met an earlier one; the whole stroke shows as a full redraw would.
  if (strokeEnded) {
    mapView_->ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
    mapView_->RedrawChanged(stroke_.painted);
    mapView_->ToggleFocusRect(view_.SelectedColumn, view_.SelectedRow);
    pictureChanged();
  }
  WriteSelectedHexCaption();
  changed();
}

void MapEditor::PlaceRoads2() {
  if (view_.SelectedColumn < 0 || view_.SelectedRow < 0) return;
  writeRoadBoxesIntoSelection();
}

void MapEditor::FormKeyPress(char key) {
  if (!view_.SelectionValid || view_.SelectedColumn < 0 || view_.SelectedRow < 0) return;
  int box = -1;
  switch (key) {
    case 'E': case 'e': box = 0; break;
    case 'R': case 'r': box = 1; break;
    case 'F': case 'f': box = 2; break;
    case 'D': case 'd': box = 3; break;
    case 'S': case 's': box = 4; break;
    case 'W': case 'w': box = 5; break;
    default: break;
  }
  if (box >= 0) roads_[std::size_t(box)] = !roads_[std::size_t(box)];
  writeRoadBoxesIntoSelection();
  changed();
}

}  // namespace kxc2
