// The editor's snapshot and its reports to the shell, without a window.
#include "editing/map_editor.h"

#include <gtest/gtest.h>

#include "core/map_file.h"
#include "core/road_mask.h"
#include "core/terrain.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

// Timers that never fire: the recovery copy is not written here.
struct IdleWindow final : WindowThread {
  struct Timer final : WindowTimer {
    void start(std::chrono::milliseconds) override { active = true; }
    void stop() override { active = false; }
    bool isActive() const override { return active; }
    bool active = false;
  };
  std::unique_ptr<WindowTimer> makeTimer(std::function<void()>) override { return std::make_unique<Timer>(); }
  void post(std::function<void()> task) override { task(); }
};

struct RecordingShell final : Shell {
  Answer confirm(const std::string&) override { return answer; }
  bool warn(const std::string&) override { return false; }
  void notify(const std::string&) override {}
  void showError(const std::string&) override {}
  bool runOpenDialog(FileDialogState&) override { return false; }
  bool runSaveDialog(FileDialogState&) override { return false; }
  bool runParameters(MapParameters&) override { return false; }
  WindowThread& windowThread() override { return window; }
  void pictureChanged(Rect area) override { pictures.push_back(area); }
  void stateChanged() override { ++states; }
  IdleWindow window;
  Answer answer = Answer::Cancel;
  std::vector<Rect> pictures;
  int states = 0;
};

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

// A drop opens only one file, and only a .map one, whatever its case.
TEST_F(MapEditorTest, ADropOpensOneMapFileOnly) {
  MapDocument document;
  document.header = {40, 30, 20};
  for (const char* name : {"a.map", "b.MAP", "c.bmp"}) WriteMapFile(dir.file(name), document);
  shell.answer = Answer::No;  // the open map goes unsaved
  const struct {
    std::vector<std::string> files;
    std::string opened;
  } cases[] = {
      {{dir.file("a.map"), dir.file("b.MAP")}, ""},
      {{dir.file("c.bmp")}, ""},
      {{}, ""},
      {{dir.file("b.MAP")}, dir.file("b.MAP")},
  };
  for (const auto& c : cases) {
    editor.openDroppedFiles(c.files);
    EXPECT_EQ(editor.fileName(), c.opened) << c.files.size();
  }
  EXPECT_EQ(editor.snapshot().header[0], "b - 30W x 20H - No. 40");
}

}  // namespace
}  // namespace kxc2
