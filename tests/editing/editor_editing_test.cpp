// Hex editing, strokes and fills, scrolling and zoom, and Undo through the
// editor's handlers: the grid, the snapshot and the picture each leaves.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <functional>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "editing/paint_gestures.h"
#include "tests/editing/scripted_shell.h"
#include "tests/editing/view_pictures.h"

namespace kxc2::test {
namespace {

std::string Caption(const char* kind, int column, int row, int code) {
  char text[80];
  std::snprintf(text, sizeof text, "%s: ( %.2d, %.2d ) %s ", kind, column, row, DisplayNameOrUnknown(code).c_str());
  return text;
}

// A fresh map, hex (0, 0) selected; expected follows the view without a frame.
class EditingTest : public EditorTest {
 protected:
  void SetUp() override {
    startWithNewMap();
    expected = FullRedrawImage(grid(), view());
  }
  void select(int column, int row) { click(MouseButton::Middle, column, row); }
  // Hex (column, row) redrawn by itself, the frame once around the selection.
  ::testing::AssertionResult repainted(int column, int row) {
    expected = HexRedrawImage(expected, grid(), view(), column, row);
    return framedOnce();
  }
  ::testing::AssertionResult framedOnce() const { return SameImage(editor->picture(), FramedImage(expected, view())); }
  std::uint8_t boxes() const {
    std::uint8_t mask = 0;
    for (std::size_t i = 0; i < 6; ++i)
      if (shot().roads[i]) mask |= kRoadBoxBits[i];
    return mask;
  }
  void drag(const std::vector<HexCoord>& through, bool shift = false) {
    editor->MapImageMouseDown(MouseButton::Left, shift, centre(through.front().column, through.front().row));
    for (std::size_t i = 1; i < through.size(); ++i) editor->MapImageMouseMove(centre(through[i].column, through[i].row));
    click(MouseButton::Left, through.back().column, through.back().row);
  }
  // The whole view redrawn, the frame around the selection.
  void redrawAll() {
    editor->RedrawView();
    editor->ToggleFocusRect(view().SelectedColumn, view().SelectedRow);
  }

  Image expected;
};

// What a release of each button does to the hex under it: paint, pick or
// only select; and whether the hex is repainted or only framed.
TEST_F(EditingTest, ReleasesPaintPickOrSelect) {
  const struct {
    const char* name;
    int terrain;  // the map's, before
    std::uint8_t roads;
    int listTerrain;
    bool lmbSetsTerrain;
    MouseButton button;
    HexRecord after;
    int listAfter;
    std::uint8_t boxes;
    bool repaints;
  } cases[] = {
      {"paints, roads kept", kClear, kRoadNorth | kRoadSouth, kCity, true, MouseButton::Left,
       {kCity, 0, kRoadNorth | kRoadSouth, 0, 0, 0, 0}, kCity, kRoadNorth | kRoadSouth, true},
      {"Ocean clears roads", kClear, 0xFF, kOcean, true, MouseButton::Left, {kOcean, 0, 0, 0, 0, 0, 0}, kOcean, 0, true},
      {"without LMB picks", kForest, kRoadSouthWest, kCity, false, MouseButton::Left,
       {kForest, 0, kRoadSouthWest, 0, 0, 0, 0}, kForest, kRoadSouthWest, true},
      {"right picks", kSwamp, kRoadNorthEast | kRoadNorthWest | 4, kCity, true, MouseButton::Right,
       {kSwamp, 0, kRoadNorthEast | kRoadNorthWest | 4, 0, 0, 0, 0}, kSwamp, kRoadNorthEast | kRoadNorthWest, false},
      {"middle selects", kHill, kRoadSouth, kCity, true, MouseButton::Middle, {kHill, 0, kRoadSouth, 0, 0, 0, 0}, kCity,
       0, false},
      {"an unknown code is picked as none", 200, kRoadSouth, kCity, true, MouseButton::Right,
       {200, 0, kRoadSouth, 0, 0, 0, 0}, -1, kRoadSouth, false},
      {"no list terrain: selects only", 200, kRoadSouth, -1, true, MouseButton::Left, {200, 0, kRoadSouth, 0, 0, 0, 0},
       -1, kRoadSouth, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    grid().setTerrain(3, 2, c.terrain);
    grid().setRoadMask(3, 2, c.roads);
    editor->setTerrain(c.listTerrain);
    editor->setLmbSetsTerrain(c.lmbSetsTerrain);
    click(c.button, 3, 2);
    EXPECT_EQ(grid().record(3, 2), c.after);
    EXPECT_EQ(view(), (ViewState{true, 0, 0, 3, 2, true}));
    EXPECT_EQ(shot().terrainRow, c.listAfter);
    EXPECT_EQ(boxes(), c.boxes);
    EXPECT_EQ(shot().header[1], Caption("Selected", 3, 2, c.after[0]));
    EXPECT_EQ(shot().undoText, c.after[0] == c.terrain ? "&Undo" : "&Undo " + PaintText(c.listTerrain));
    EXPECT_TRUE(c.repaints ? repainted(3, 2) : framedOnce());
  }
  // Choosing a terrain makes the left button paint the unknown code over.
  editor->setTerrain(kSand);
  click(MouseButton::Left, 3, 2);
  EXPECT_EQ(grid().terrain(3, 2), kSand);
  EXPECT_TRUE(repainted(3, 2));
}

TEST_F(EditingTest, HexesBeyondTheMapSizeAreEditedLikeAnyOther) {
  editor->document().header = {0, 16, 11};
  editor->ZoomOut1Click();
  expected = FullRedrawImage(grid(), view());
  editor->setTerrain(kMountain);
  editor->MapImageMouseUp(MouseButton::Left, {600, 474});  // the black strip: column 44
  EXPECT_EQ(grid().terrain(44, 39), kMountain);
  EXPECT_EQ(shot().header[1], "Selected: ( 44, 39 ) Mountain ");
  EXPECT_TRUE(repainted(44, 39));
}

TEST_F(EditingTest, PointerMovesWriteTheCursorCaptionOnly) {
  grid().setTerrain(13, 9, kRough);
  grid().setTerrain(3, 4, 200);
  const Image before = editor->picture();
  const struct {
    Point at;
    const char* caption;
  } moves[] = {{{615, 474}, "Cursor at: ( 13, 09 ) Rough "},
               {{-30, 600}, "Cursor at: ( 00, 12 ) Clear "},
               {centre(3, 4), "Cursor at: ( 03, 04 ) Unknown (200) "}};
  for (const auto& move : moves) {
    editor->MapImageMouseMove(move.at);
    EXPECT_EQ(shot().header[2], move.caption);
  }
  editor->MapImageMouseLeave();
  EXPECT_EQ(shot().header[2], "Hex Under Cursor");
  EXPECT_TRUE(SameImage(editor->picture(), before));
  EXPECT_EQ(view(), (ViewState{true, 0, 0, 0, 0, true}));
}

// Road keys toggle their box in either case; any other character writes the
// boxes as they are, which clears the two directionless bits.
TEST_F(EditingTest, KeysWriteTheRoadBoxesIntoTheSelectedHex) {
  grid().setRoadMask(1, 1, kRoadSouth);
  click(MouseButton::Right, 1, 1);
  select(6, 6);
  EXPECT_TRUE(framedOnce());
  editor->FormKeyPress('x');  // the boxes of the hex picked before
  EXPECT_EQ(grid().roadMask(6, 6), kRoadSouth);
  EXPECT_TRUE(repainted(6, 6));
  std::uint8_t mask = kRoadSouth;
  for (const char key : std::string("erfdswERFDSW")) {
    editor->FormKeyPress(key);
    mask ^= kRoadBoxBits[std::string("erfdsw").find(char(std::tolower(key)))];
    EXPECT_EQ(grid().roadMask(6, 6), mask) << key;
    EXPECT_EQ(boxes(), mask) << key;
    EXPECT_TRUE(repainted(6, 6)) << key;
  }
  EXPECT_EQ(mask, kRoadSouth);
  grid().setRoadMask(2, 2, 0xFF);
  click(MouseButton::Right, 2, 2);
  for (const char key : {'1', 'q', '.', ' '}) {
    editor->FormKeyPress(key);
    EXPECT_EQ(grid().roadMask(2, 2), 0xBB) << key;
    EXPECT_TRUE(repainted(2, 2)) << key;
  }
  EXPECT_EQ(shot().undoText, std::string("&Undo ") + kRoadsText);
}

// The boxes clicked one by one write the whole mask; a box released without
// a change applies the boxes again.
TEST_F(EditingTest, RoadBoxesWriteTheWholeMask) {
  grid().setTerrain(3, 3, kOcean);
  grid().setRoadMask(3, 3, 4 | 64);
  click(MouseButton::Right, 3, 3);
  std::uint8_t mask = 0;
  for (const int box : {5, 0, 1, 2, 3, 4}) {
    editor->setRoadBox(box, true);
    editor->PlaceRoads2();
    mask |= kRoadBoxBits[std::size_t(box)];
    EXPECT_EQ(grid().roadMask(3, 3), mask) << box;
    EXPECT_TRUE(repainted(3, 3)) << box;  // Ocean's roads show at the next full redraw only
  }
  grid().setRoadMask(3, 3, 0);
  editor->PlaceRoads2();
  EXPECT_EQ(grid().roadMask(3, 3), 0xBB);
  EXPECT_TRUE(repainted(3, 3));
}

TEST_F(EditingTest, KeysAndBoxesBeforeAnySelectionDoNothing) {
  start();
  const Image before = editor->picture();
  editor->FormKeyPress('e');
  editor->setRoadBox(1, true);
  editor->PlaceRoads2();
  EXPECT_EQ(shot().roads, (std::array<bool, 6>{false, true}));
  EXPECT_EQ(grid(), MapGrid{});
  EXPECT_TRUE(SameImage(editor->picture(), before));
  EXPECT_FALSE(shot().undoEnabled);
}

TEST_F(EditingTest, FrameFollowsTheSelectionAcrossMixedEvents) {
  editor->setTerrain(kRiver);
  click(MouseButton::Left, 1, 1);
  EXPECT_TRUE(repainted(1, 1));
  select(1, 2);
  EXPECT_TRUE(framedOnce());
  click(MouseButton::Right, 1, 1);
  EXPECT_TRUE(framedOnce());
  click(MouseButton::Left, 1, 2);
  EXPECT_TRUE(repainted(1, 2));
  editor->FormKeyPress('e');
  EXPECT_TRUE(repainted(1, 2));
  editor->setRoadBox(3, true), editor->PlaceRoads2();
  EXPECT_TRUE(repainted(1, 2));
  // Only the painted hex is repainted: (1, 1)'s river line towards (1, 2)
  // appears at the next full redraw.
  const Point southOfCentre = centre(1, 1) + Point(0, 18);
  EXPECT_NE(editor->picture().pixel(southOfCentre), kRiverRgb);
  editor->ZoomIn1Click();
  EXPECT_EQ(editor->picture().pixel(southOfCentre), kRiverRgb);
  EXPECT_TRUE(showsFullRedraw());
}

// ---- Strokes and fills ----------------------------------------------------

class BusyMapTest : public EditingTest {
 protected:
  void SetUp() override {
    EditingTest::SetUp();
    FillBusyMap(grid());
    redrawAll();
  }
};

TEST_F(BusyMapTest, AStrokePaintsEveryCrossedHexAsOneUndoStep) {
  const struct {
    const char* name;
    std::vector<HexCoord> through;  // hex centres the pointer jumps between
  } cases[] = {
      {"one fast jump across the view", {{0, 1}, {13, 8}}},
      {"slow, hex by hex", {{2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}}},
      {"there and back", {{12, 5}, {4, 5}, {12, 6}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const MapGrid before = grid();
    const int steps = editor->history().index();
    editor->setTerrain(kRiver);
    MapGrid wanted = before;
    for (std::size_t i = 1; i < c.through.size(); ++i) {
      const HexCoord from = c.through[i - 1], to = c.through[i];
      for (const HexCoord& hex : HexesAlongSegment(view(), centre(from.column, from.row), centre(to.column, to.row)))
        wanted.setRecord(hex.column, hex.row, PaintedRecord(before.record(hex.column, hex.row), kRiver));
    }
    drag(c.through);
    EXPECT_EQ(grid(), wanted);
    EXPECT_EQ(editor->history().index(), steps + 1);
    EXPECT_EQ(shot().undoText, "&Undo Paint River");
    // The whole stroke shows as a full redraw would, its river lines joined.
    EXPECT_TRUE(showsFullRedraw());
    const HexCoord last = c.through.back();
    EXPECT_EQ(view().SelectedColumn, last.column);
    EXPECT_EQ(view().SelectedRow, last.row);
    EXPECT_EQ(shot().header[1], Caption("Selected", last.column, last.row, kRiver));
    editor->Undo1Click();
    EXPECT_EQ(grid(), before);
  }
}

// Undo ends a drag as its release would and undoes all of it; the rest of
// the drag paints nothing. "Cursor at:" follows the grid under the pointer.
TEST_F(BusyMapTest, UndoDuringADragTakesTheWholeStroke) {
  const MapGrid before = grid();
  editor->setTerrain(kRiver);
  editor->MapImageMouseDown(MouseButton::Left, false, centre(2, 2));
  editor->MapImageMouseMove(centre(6, 4));
  EXPECT_EQ(shot().header[2], Caption("Cursor at", 6, 4, kRiver));
  editor->Undo1Click();
  EXPECT_EQ(grid(), before);
  EXPECT_EQ(shot().header[2], Caption("Cursor at", 6, 4, before.terrain(6, 4)));
  EXPECT_EQ(view().SelectedColumn, 6);
  editor->MapImageMouseMove(centre(9, 4));
  click(MouseButton::Left, 9, 4);
  EXPECT_EQ(grid(), before);
  editor->Redo1Click();  // the stroke up to Undo, none of the rest
  EXPECT_EQ(std::tuple(grid().terrain(2, 2), grid().terrain(6, 4), grid().terrain(9, 4)),
            std::tuple(kRiver, kRiver, before.terrain(9, 4)));
  EXPECT_EQ(shot().header[2], Caption("Cursor at", 9, 4, before.terrain(9, 4)));
  // Without "LMB sets terrain" a drag paints nothing.
  editor->Undo1Click();
  editor->setLmbSetsTerrain(false);
  editor->setTerrain(kOcean);
  drag({{1, 1}, {9, 6}});
  EXPECT_EQ(grid(), before);
  EXPECT_FALSE(shot().undoEnabled);
}

// A drag whose pointer another window takes ends there; the next click paints.
TEST_F(BusyMapTest, ALostPointerEndsTheDragWhereItWas) {
  const MapGrid before = grid();
  editor->setTerrain(kRiver);
  editor->MapImageMouseDown(MouseButton::Left, false, centre(2, 2));
  editor->MapImageMouseMove(centre(6, 4));
  editor->MapImageCaptureLost();
  editor->MapImageMouseMove(centre(9, 4));
  EXPECT_EQ(std::tuple(grid().terrain(6, 4), grid().terrain(9, 4)), std::tuple(kRiver, before.terrain(9, 4)));
  editor->MapImageMouseDown(MouseButton::Left, false, centre(9, 4));
  click(MouseButton::Left, 9, 4);
  EXPECT_EQ(grid().terrain(9, 4), kRiver);
}

TEST_F(BusyMapTest, ShiftPressFillsTheConnectedAreaAndRedrawsOnlyIt) {
  // A lake the busy map does not have: a ring of City around it.
  for (int column = 20; column <= 24; ++column)
    for (int row = 20; row <= 24; ++row) grid().setTerrain(column, row, kCity);
  grid().setTerrain(22, 22, kSwamp);
  grid().setRoadMask(22, 22, 0x3F);
  editor->HScrollBarScroll(13);
  editor->VScrollBarScroll(9);
  redrawAll();
  const MapGrid before = grid();
  const std::vector<HexCoord> area = ConnectedArea(grid(), {21, 21});
  Image expectedOutside = editor->picture();
  editor->setTerrain(kOcean);
  drag({{21, 21}}, true);
  EXPECT_EQ(shot().undoText, "&Undo Fill Ocean");
  for (const HexCoord& hex : area) EXPECT_EQ(grid().terrain(hex.column, hex.row), kOcean);
  EXPECT_EQ(grid().record(22, 22), before.record(22, 22));
  // Outside the filled cells and the old frame, not a pixel moved.
  Image outside = editor->picture();
  const auto blank = [](Image& image, const Rect& rect) {
    for (int y = std::max(0, rect.top()); y <= std::min(image.height() - 1, rect.bottom()); ++y)
      for (int x = std::max(0, rect.left()); x <= std::min(image.width() - 1, rect.right()); ++x) image.setPixel(x, y, 0);
  };
  for (Image* image : {&outside, &expectedOutside}) {
    for (const HexCoord& hex : area) blank(*image, FocusRect(view(), hex.column, hex.row));
    blank(*image, FocusRect(view(), 0, 0));
  }
  EXPECT_TRUE(SameImage(outside, expectedOutside));
  editor->Undo1Click();
  EXPECT_EQ(grid(), before);
}

TEST_F(BusyMapTest, FillAreaFillsFromTheSelection) {
  select(5, 5);
  const HexRecord record = grid().record(5, 5);
  const int code = record[0] == kSand ? kHill : kSand;
  editor->setTerrain(code);
  editor->FillArea1Click();
  EXPECT_EQ(grid().record(5, 5), PaintedRecord(record, code));
  EXPECT_EQ(editor->history().count(), 1);
  EXPECT_EQ(shot().header[1], Caption("Selected", 5, 5, code));
  // The same terrain again changes nothing and adds no step.
  editor->FillArea1Click();
  EXPECT_EQ(editor->history().count(), 1);
}

// ---- Scrolling and zoom -----------------------------------------------------

TEST_F(BusyMapTest, ScrollingMovesTheOriginAndRedrawsTheWholeView) {
  const struct {
    bool horizontal;
    int position;
  } steps[] = {{true, 1}, {true, 14}, {false, 9}, {false, 8}, {true, 31}, {false, 30}, {true, 18}, {false, 0}};
  // Hex (0, 0) left of the view: only the frame's right edge shows.
  editor->HScrollBarScroll(1);
  EXPECT_TRUE(showsFullRedraw());
  EXPECT_FALSE(editor->picture() == FullRedrawImage(grid(), view()));
  select(2, 3);
  for (const auto& step : steps) {
    std::invoke(step.horizontal ? &MapEditor::HScrollBarScroll : &MapEditor::VScrollBarScroll, *editor, step.position);
    EXPECT_EQ(step.horizontal ? view().OriginColumn : view().OriginRow, step.position);
    EXPECT_EQ(shot().scrollBars, ScrollBarsOf(view()));
    EXPECT_EQ(std::pair(view().SelectedColumn, view().SelectedRow), std::pair(2, 3));
    EXPECT_TRUE(showsFullRedraw());
  }
}

// Where Zoom In puts the origin: map_view_test (PixelsAndZoomOrigins); the
// bars at each zoom: view_size_test (ScrollBarsFollowEveryChange).
TEST_F(BusyMapTest, ZoomOutAndInCentreOnTheSelection) {
  select(8, 5);
  editor->HScrollBarScroll(13);
  editor->ZoomOut1Click();
  EXPECT_EQ(std::tuple(view().ZoomedIn, view().OriginColumn, view().OriginRow), std::tuple(false, 0, 0));
  EXPECT_FALSE(shot().zoomedIn);
  EXPECT_EQ(shot().scrollBars, ScrollBarsOf(view()));
  EXPECT_TRUE(showsFullRedraw());
  editor->MapImageMouseUp(MouseButton::Middle, {539, 474});
  ASSERT_EQ(std::pair(view().SelectedColumn, view().SelectedRow), std::pair(44, 39));
  EXPECT_TRUE(showsFullRedraw());
  // Zoom In again, after scrolling away, centres on the selection again.
  for (int pass = 0; pass < 2; ++pass) {
    editor->ZoomIn1Click();
    EXPECT_EQ(std::tuple(shot().zoomedIn, view().OriginColumn, view().OriginRow), std::tuple(true, 31, 30));
    EXPECT_EQ(shot().scrollBars, ScrollBarsOf(view()));
    EXPECT_TRUE(showsFullRedraw());
    editor->HScrollBarScroll(0);
  }
  editor->ZoomOut1Click();
  editor->ZoomOut1Click();
  EXPECT_EQ(std::pair(view().OriginColumn, view().OriginRow), std::pair(0, 0));
  EXPECT_TRUE(showsFullRedraw());
}

// ---- Undo and redo ----------------------------------------------------------

class HistoryTest : public BusyMapTest {
 protected:
  void SetUp() override {
    BusyMapTest::SetUp();
    click(MouseButton::Right, 10, 14);
    editor->ZoomIn1Click();
  }
};

// At both zoom levels undo gives back every byte and the picture before the
// change (its frame where the selection now is); redo shows what a full
// redraw of the change shows.
TEST_F(HistoryTest, UndoAndRedoRestoreBytesAndPictureOfEveryKindOfChange) {
  const struct {
    const char* text;
    std::function<void()> change;
  } cases[] = {
      {"Paint River", [this] { paint(kRiver, 11, 15); }},
      {"Paint Ocean", [this] { paint(kOcean, 9, 13); }},  // over roads: clears them
      {"Roads", [this] { editor->setRoadBox(1, !shot().roads[1]), editor->PlaceRoads2(); }},
      {"Roads", [this] { editor->FormKeyPress('d'); }},
      {"Fill", [this] {
         HexChange change("Fill");  // every hex, its opaque bytes too
         for (int column = 0; column < kGridColumns; ++column)
           for (int row = 0; row < kGridRows; ++row) {
             HexRecord record = PaintedRecord(grid().record(column, row), kStream);
             record[6] ^= 0xA5;
             change.set(grid(), column, row, record);
           }
         editor->applyHexChange(std::move(change));
       }},
  };
  grid().setRoadMask(9, 13, 0xFF);
  for (const bool zoomedIn : {true, false})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.text) + (zoomedIn ? " zoomed in" : " zoomed out"));
      zoomedIn ? editor->ZoomIn1Click() : editor->ZoomOut1Click();
      const MapGrid before = grid();
      ASSERT_TRUE(showsFullRedraw());
      c.change();
      const MapGrid after = grid();
      ASSERT_NE(after, before);
      EXPECT_EQ(shot().undoText, std::string("&Undo ") + c.text);
      editor->Undo1Click();
      EXPECT_EQ(grid(), before);
      EXPECT_TRUE(SameImage(editor->picture(), FramedImage(FullRedrawImage(before, view()), view())));
      EXPECT_EQ(shot().redoText, std::string("&Redo ") + c.text);
      editor->Redo1Click();
      EXPECT_EQ(grid(), after);
      EXPECT_TRUE(showsFullRedraw());
      editor->Undo1Click();
    }
}

// The order of steps, undo and redo: edit_history_test, against QUndoStack.
// Here: a change of no byte adds no step, and a new change ends the redo.
TEST_F(HistoryTest, NoByteChangedAddsNoStepAndANewChangeEndsRedo) {
  const int city = grid().terrain(12, 12) == kCity ? kSand : kCity;
  paint(city, 12, 12);
  paint(city, 12, 12);
  EXPECT_EQ(std::pair(editor->history().index(), editor->history().count()), std::pair(1, 1));
  editor->Undo1Click();
  const MapGrid undone = grid();
  EXPECT_TRUE(shot().redoEnabled && !shot().undoEnabled);
  paint(grid().terrain(13, 13) == kOcean ? kHill : kOcean, 13, 13);
  EXPECT_EQ(std::pair(editor->history().index(), editor->history().count()), std::pair(1, 1));
  EXPECT_TRUE(shot().undoEnabled && !shot().redoEnabled);
  editor->Redo1Click();
  EXPECT_EQ(grid().record(12, 12), undone.record(12, 12));
}

// Undo brings the selected hex's roads and caption along, the selection and
// origin stay; the listeners hear of every write and every new map; New and
// Open empty the stack.
TEST_F(HistoryTest, UndoUpdatesTheSelectedHexAndNewAndOpenEmptyTheStack) {
  std::vector<std::vector<HexCoord>> changes;
  int replaced = 0;
  editor->onHexesChanged([&](const std::vector<HexCoord>& hexes) { changes.push_back(hexes); });
  editor->onMapReplaced([&] { ++replaced; });
  paint(kSand, 12, 12);
  editor->FormKeyPress('e');
  click(MouseButton::Right, 14, 14);
  click(MouseButton::Right, 12, 12);
  editor->Undo1Click();
  editor->Undo1Click();
  EXPECT_EQ(changes.size(), 4u);
  EXPECT_EQ(changes[3], (std::vector<HexCoord>{{12, 12}}));
  EXPECT_EQ(shot().roads[0], (grid().roadMask(12, 12) & kRoadNorth) != 0);
  EXPECT_EQ(shot().header[1], Caption("Selected", 12, 12, grid().terrain(12, 12)));
  EXPECT_EQ(view(), (ViewState{true, 3, 10, 12, 12, true}));

  shell.confirmAnswers = {Answer::No, Answer::No};
  editor->New1Click();
  EXPECT_EQ(editor->history().count(), 0);
  paint(kCity, 2, 2);
  writeMap("a.map", MapFileBytes(40, 30, 20));
  chooseOpen(game.file("a.map"));
  editor->Open1Click();
  EXPECT_EQ(editor->history().count(), 0);
  EXPECT_FALSE(shot().undoEnabled || shot().unsaved);
  EXPECT_EQ(replaced, 2);
}

}  // namespace
}  // namespace kxc2::test
