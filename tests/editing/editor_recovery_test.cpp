// The recovery copy through the editor: written while changes are unsaved,
// removed when they are not, offered at start-up, one editor's alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/map_file.h"
#include "core/terrain.h"
#include "tests/editing/scripted_shell.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kNote = R"({"source": "", "time": "2026-01-02T03:04:05.000Z"})";

std::vector<std::uint8_t> Encoded(const MapDocument& document) {
  const auto bytes = EncodeMapFile(document);
  return {bytes.begin(), bytes.end()};
}
std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

class RecoveryTest : public EditorTest {
 protected:
  void SetUp() override { pointSettingsAtGame(); }
  std::vector<std::string> copies() const {
    std::vector<std::string> maps;
    if (!fs::is_directory(recoveryFolder)) return maps;
    for (const std::string& name : ListFolder(recoveryFolder))
      if (name.ends_with(".map")) maps.push_back(name);
    return maps;
  }
  // A copy left by an editor that did not end normally.
  void leaveCopy(const std::vector<std::uint8_t>& map, const std::vector<std::uint8_t>& note) {
    fs::create_directories(recoveryFolder);
    WriteBytes(fs::path(recoveryFolder) / "left.map", map);
    WriteBytes(fs::path(recoveryFolder) / "left.json", note);
  }
  // A new map with a change, its copy written.
  void startChanged() {
    start();
    editor->New1Click();
    paint(kCity, 1, 1);
    editor->recovery().writeNow();
    ASSERT_TRUE(editor->recovery().waitForWrites());
  }
};

TEST_F(RecoveryTest, AnAbandonedCopyIsOfferedAndSavesAsItsSaveWould) {
  writeMap("river.map", MapFileBytes(40, 30, 20));
  start();
  chooseOpen(game.file("river.map"));
  editor->Open1Click();
  okParameters(77);
  cancelSave();
  editor->SaveAs1Click();  // the header the dialog gave stands
  paint(kOcean, 2, 3);
  editor->FormKeyPress('e');
  shell.window.advanceTo(shell.window.now + 2999ms);
  EXPECT_TRUE(editor->recovery().waitForWrites() && copies().empty());
  shell.window.advanceTo(shell.window.now + 1ms);
  ASSERT_TRUE(editor->recovery().waitForWrites());
  const std::vector<std::uint8_t> expected = Encoded(editor->document());
  const fs::path own = editor->recovery().store().mapPath();
  // As if the editor had been killed: its files stay, its lock goes.
  leaveCopy(ReadBytes(own), ReadBytes(fs::path(own).replace_extension(".json")));
  editor.reset();
  ASSERT_EQ(copies(), std::vector<std::string>{"left.map"});

  shell.clear();
  shell.confirmAnswers = {Answer::Yes};
  start();
  ASSERT_EQ(shell.confirmQuestions.size(), 1u);
  EXPECT_NE(shell.confirmQuestions[0].find("a recovery copy of " + game.file("river.map") + ", written "),
            std::string::npos);
  EXPECT_EQ(Encoded(editor->document()), expected);
  EXPECT_TRUE(shot().unsaved && shot().mapShown && !shot().undoEnabled);
  EXPECT_EQ(shot().header[0], "river - 30W x 20H - No. 77");
  // The old copy went once this one was written.
  EXPECT_EQ(copies(), std::vector<std::string>{FileName(editor->recovery().store().mapPath())});

  okParameters(77);
  chooseSave(game.file("saved.map"));
  editor->SaveAs1Click();
  EXPECT_EQ(shell.saveShown.back().fileName, game.file("river.map"));
  EXPECT_EQ(ReadBytes(game.file("saved.map")), expected);
  EXPECT_FALSE(shot().unsaved);
  EXPECT_TRUE(copies().empty());
}

// Yes opens the copy, No deletes it, Cancel keeps it; a copy that cannot be
// read is reported and kept aside; a running editor's copy is left alone.
TEST_F(RecoveryTest, CopiesFoundAtStartUp) {
  MapDocument document;
  document.header = {33, 20, 15};
  document.grid.setRecord(4, 5, {9, 1, 0, 2, 3, 4, 5});
  const std::vector<std::uint8_t> map = Encoded(document);
  const struct {
    Answer answer;
    std::vector<std::uint8_t> map, note;
    std::size_t copiesLeft;  // Yes leaves the editor's own
    const char* error;
  } cases[] = {{Answer::Yes, map, Bytes(kNote), 1, nullptr},
               {Answer::No, map, Bytes(kNote), 0, nullptr},
               {Answer::Cancel, map, Bytes(kNote), 1, nullptr},
               {Answer::Yes, {map.begin(), map.begin() + 100}, Bytes(kNote), 0, "(Read beyond end of file)"},
               {Answer::Yes, map, Bytes("{\"source\": 5}"), 0, "(its note is damaged)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(&c - cases));
    editor.reset();
    fs::remove_all(recoveryFolder);
    leaveCopy(c.map, c.note);
    shell.clear();
    shell.confirmAnswers = {c.answer};
    start();
    EXPECT_EQ(copies().size(), c.copiesLeft);
    EXPECT_EQ(shot().mapShown, c.answer == Answer::Yes && !c.error);
    if (c.error) {
      ASSERT_EQ(shell.errors.size(), 1u);
      EXPECT_NE(shell.errors[0].find(c.error), std::string::npos) << shell.errors[0];
      EXPECT_NE(shell.errors[0].find("; it is kept in "), std::string::npos) << shell.errors[0];
      EXPECT_EQ(ListFolder(fs::path(recoveryFolder) / "unreadable"), (std::vector<std::string>{"left.json", "left.map"}));
      continue;
    }
    ASSERT_EQ(shell.confirmQuestions.size(), 1u);
    EXPECT_NE(shell.confirmQuestions[0].find("a recovery copy of Untitled, written 2026-01-02 "), std::string::npos);
    if (c.answer == Answer::Yes) {
      EXPECT_EQ(grid(), document.grid);
      EXPECT_EQ(shot().header[0], "Untitled - 20W x 15H - No. ??");
    }
  }

  // A second editor while the first runs: neither takes the other's copy.
  editor.reset();
  fs::remove_all(recoveryFolder);
  startChanged();
  ScriptedShell otherShell;
  MapEditor other(otherShell, recoveryFolder);
  other.FormCreate(program.folder(), "KxC2Map");
  other.offerRecoveryCopies();
  EXPECT_TRUE(otherShell.confirmQuestions.empty() && otherShell.errors.empty());
  other.New1Click();
  other.setTerrain(kSand);
  other.MapImageMouseUp(MouseButton::Left, centre(2, 2));
  other.recovery().writeNow();
  ASSERT_TRUE(other.recovery().waitForWrites());
  EXPECT_EQ(copies().size(), 2u);
  editor.reset();  // ends normally: its copy goes, the other's stays
  EXPECT_EQ(copies(), std::vector<std::string>{FileName(other.recovery().store().mapPath())});
}

TEST_F(RecoveryTest, CopyGoesWhenTheMapIsSavedReplacedOrTheEditorEnds) {
  writeMap("other.map", MapFileBytes(40, 30, 20));
  const std::function<void()> actions[] = {
      [this] { okParameters(), chooseSave(game.file("s.map")), editor->SaveAs1Click(); },
      [this] { editor->Undo1Click(); },  // back at the saved state
      [this] { shell.confirmAnswers = {Answer::No}, editor->New1Click(); },
      [this] { shell.confirmAnswers = {Answer::No}, chooseOpen(game.file("other.map")), editor->Open1Click(); },
      [this] { editor.reset(); }};
  for (const auto& action : actions) {
    SCOPED_TRACE(&action - actions);
    startChanged();
    ASSERT_EQ(copies().size(), 1u);
    action();
    EXPECT_TRUE(!fs::exists(recoveryFolder) || ListFolder(recoveryFolder).empty());
  }
}

// Every way the map is replaced asks first when a map is there, recovered or
// changed; Cancel keeps it, and the mark says whether the map is saved.
TEST_F(RecoveryTest, ReplacingTheMapAsksFirstAndSetsTheUnsavedMark) {
  writeMap("a.map", MapFileBytes(40, 30, 20));
  const std::string a = game.file("a.map"), open = "before opening another?";
  const std::pair<std::function<void()>, std::string> paths[] = {
      {[&] { editor->New1Click(); }, "before starting a new one?"},
      {[&] { chooseOpen(a), editor->Open1Click(); }, open},
      {[&] { editor->openRecentMap(a); }, open},
      {[&] { editor->openNamedMap(a); }, open}};  // the command line's and a drop's way
  for (const auto& [replace, question] : paths)
    for (int before : {0, 1, 2})  // nothing, a recovered map, a changed map
      for (Answer answer : {Answer::No, Answer::Cancel}) {
        SCOPED_TRACE(question + std::to_string(before) + std::to_string(int(answer)));
        editor.reset();
        fs::remove_all(recoveryFolder);
        shell.clear();
        shell.confirmAnswers = {Answer::Yes};
        if (before == 1) leaveCopy(MapFileBytes(33, 20, 15), Bytes(kNote));
        start();
        if (before == 2) editor->New1Click(), paint(kCity, 1, 1);
        const MapGrid kept = grid();
        shell.confirmQuestions.clear();
        shell.confirmAnswers = {answer};
        replace();
        EXPECT_EQ(shell.confirmQuestions,
                  before ? std::vector<std::string>{"Do you want to save this map " + question} : std::vector<std::string>{});
        const bool cancelled = before && answer == Answer::Cancel;
        EXPECT_TRUE(!cancelled || grid() == kept);
        EXPECT_EQ(shot().unsaved, cancelled);
        if (cancelled) continue;
        paint(kSand, 2, 2);
        editor->Undo1Click();
        EXPECT_FALSE(shot().unsaved);
      }
}

// A copy that cannot be written is reported once, and editing goes on.
TEST_F(RecoveryTest, FailuresReportedOnce) {
  WriteBytes(recoveryFolder, {});  // a file where the folder goes
  start();
  editor->New1Click();
  for (int code : {kCity, kSand, kHill}) {
    paint(code, 1, 1);
    editor->recovery().writeNow();
    EXPECT_FALSE(editor->recovery().waitForWrites());
    shell.window.runPosted();
  }
  EXPECT_EQ(grid().terrain(1, 1), kHill);
  ASSERT_EQ(shell.errors.size(), 1u);
  EXPECT_EQ(shell.errors[0].rfind("The recovery copy of this map cannot be written (the folder ", 0), 0u)
      << shell.errors[0];
  EXPECT_NE(shell.errors[0].find("); editing goes on without it"), std::string::npos);
}

}  // namespace
}  // namespace kxc2::test
