// The editor's snapshot and its reports to the shell, without a window.
#include "editing/map_editor.h"

#include <gtest/gtest.h>

#include "tests/editing/scripted_shell.h"

#include "core/road_mask.h"
#include "core/terrain.h"
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

}  // namespace
}  // namespace kxc2
