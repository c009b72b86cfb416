// The editor's snapshot and its reports to the shell, without a window.
#include "editing/map_editor.h"

#include <gtest/gtest.h>

#include "core/map_file.h"
#include "core/road_mask.h"
#include "core/terrain.h"
#include "editing/artwork_preview_model.h"
#include "tests/editing/scripted_shell.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using RecordingShell = test::ScriptedShell;

struct MapEditorTest : ::testing::Test {
  MapEditorTest() {
    editor.startView();
    editor.showMapSelectedAtOrigin();
  }
  Point centre(int column, int row) const { return CellRect(editor.viewState(), column, row).center(); }
  test::TempDir dir;
  RecordingShell shell;
  MapEditor editor{shell, dir.file("recovery")};
};

TEST_F(MapEditorTest, APaintedHexShowsInTheSnapshotAndIsReported) {
  std::vector<HexCoord> reported;
  editor.onHexesChanged([&](const std::vector<HexCoord>& hexes) { reported = hexes; });
  editor.setTerrain(kOcean);
  shell.pictures.clear();
  const int states = shell.states;
  editor.MapImageMouseUp(MouseButton::Left, centre(3, 2));
  const EditorSnapshot shot = editor.snapshot();
  EXPECT_EQ(shot.undoText, "&Undo " + PaintText(kOcean));
  EXPECT_TRUE(shot.undoEnabled && shot.unsaved && shot.mapShown && shot.mapCommandsEnabled);
  EXPECT_EQ(shot.header[1].substr(0, 10), "Selected: ");
  EXPECT_EQ(reported, (std::vector<HexCoord>{{3, 2}}));
  EXPECT_GT(shell.states, states);
  ASSERT_FALSE(shell.pictures.empty());
  EXPECT_EQ(shell.pictures.back(), Rect(0, 0, kViewWidth, kViewHeight));
}

TEST_F(MapEditorTest, AForeignTerrainLeavesNoTerrainAndRoadKeysToggleTheBoxes) {
  editor.document().grid.setTerrain(4, 4, kTerrainCount);
  editor.MapImageMouseUp(MouseButton::Right, centre(4, 4));
  EXPECT_EQ(editor.snapshot().terrainRow, -1);
  editor.FormKeyPress('e');
  EXPECT_TRUE(editor.snapshot().roads[0]);
  EXPECT_EQ(editor.document().grid.roadMask(4, 4), kRoadBoxBits[0]);
  EXPECT_EQ(editor.snapshot().undoText, std::string("&Undo ") + kRoadsText);
  editor.Undo1Click();
  EXPECT_FALSE(editor.snapshot().roads[0]);
  EXPECT_EQ(editor.snapshot().redoText, std::string("&Redo ") + kRoadsText);
}

// Windows that close before the editor stop listening; the rest still hear,
// also when one removes itself while called.
TEST_F(MapEditorTest, RemovedListenersHearNothingMoreAndTheOthersStillHear) {
  std::vector<std::string> heard;
  const int first = editor.onHexesChanged([&](const std::vector<HexCoord>&) { heard.push_back("hexes 1"); });
  int once = 0;
  once = editor.onHexesChanged([&](const std::vector<HexCoord>&) {
    heard.push_back("hexes once");
    editor.removeListener(once);
  });
  editor.onHexesChanged([&](const std::vector<HexCoord>&) { heard.push_back("hexes 3"); });
  const int replaced = editor.onMapReplaced([&] { heard.push_back("replaced 1"); });
  editor.onMapReplaced([&] { heard.push_back("replaced 2"); });
  editor.setTerrain(kOcean);
  editor.MapImageMouseUp(MouseButton::Left, centre(3, 2));
  editor.removeListener(first);
  editor.removeListener(replaced);
  editor.Undo1Click();
  editor.documentReplaced("");
  EXPECT_EQ(heard, (std::vector<std::string>{"hexes 1", "hexes once", "hexes 3", "hexes 3", "replaced 2"}));
}

// A preview click selects as a middle click, scrolling a zoomed-in view
// only to a hex it does not show.
TEST_F(MapEditorTest, APreviewClickSelectsTheHexAndShowsIt) {
  struct Case {
    bool zoomedIn;
    HexCoord hex;
    bool scrolls;
  };
  const Case cases[] = {{true, {3, 2}, false}, {true, {43, 38}, true}, {true, {20, 1}, true}, {false, {43, 38}, false}};
  for (const Case& c : cases) {
    editor.startView();
    editor.showMapSelectedAtOrigin();
    if (!c.zoomedIn) editor.ZoomOut1Click();
    const ViewState before = editor.viewState();
    const HexCoord origin = c.scrolls ? ZoomInOrigin(c.hex.column, c.hex.row, before)
                                      : HexCoord{before.OriginColumn, before.OriginRow};
    SelectHexInEditor(editor, c.hex);
    const ViewState& after = editor.viewState();
    EXPECT_EQ((HexCoord{after.SelectedColumn, after.SelectedRow}), c.hex) << c.hex.column << "," << c.hex.row;
    EXPECT_EQ((HexCoord{after.OriginColumn, after.OriginRow}), origin) << c.hex.column << "," << c.hex.row;
    EXPECT_EQ(after.ZoomedIn, c.zoomedIn);
  }
}

// A drop opens only one file, and only a .map one, whatever its case.
TEST_F(MapEditorTest, ADropOpensOneMapFileOnly) {
  MapDocument document;
  document.header = {40, 30, 20};
  for (const char* name : {"a.map", "b.MAP", "c.bmp"}) WriteMapFile(dir.file(name), document);
  const struct {
    std::vector<std::string> files;
    std::string opened;
  } cases[] = {
      {{dir.file("a.map"), dir.file("b.MAP")}, ""},
      {{dir.file("c.bmp")}, ""},
      {{}, ""},
      {{dir.file("b.MAP")}, dir.file("b.MAP")},
  };
  shell.confirmAnswers.assign(4, Answer::No);  // the open map goes unsaved
  for (const auto& c : cases) {
    editor.openDroppedFiles(c.files);
    EXPECT_EQ(editor.fileName(), c.opened) << c.files.size();
  }
  EXPECT_EQ(editor.snapshot().header[0], "b - 30W x 20H - No. 40");
}

}  // namespace
}  // namespace kxc2
