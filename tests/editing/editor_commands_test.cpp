// Start-up, New, Open, Save, the close request and the recent maps, as the
// user meets them through any shell: questions, dialogs, files and state.
#include <gtest/gtest.h>

#include <filesystem>

#include "editing/ini_file.h"
#include "editing/recent_maps.h"
#include "tests/editing/scripted_shell.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

const char* const kUntitled = "Untitled - 44W x 39H - No. ??";

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }
std::vector<std::uint8_t> Head(const std::vector<std::uint8_t>& bytes, std::size_t count) {
  return {bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min(count, bytes.size()))};
}
std::string Replaced(std::string text, const std::string& folder) {
  for (std::size_t at; (at = text.find("$G")) != std::string::npos;) text.replace(at, 2, folder);
  return text;
}

// Everything a failed or refused command must leave as it was.
struct EditorState {
  MapHeader header;
  MapGrid grid;
  ViewState view;
  EditorSnapshot shot;
  Image picture;
  explicit EditorState(const MapEditor& editor)
      : header(editor.document().header), grid(editor.document().grid), view(editor.viewState()),
        shot(editor.snapshot()), picture(editor.picture()) {}
  friend bool operator==(const EditorState&, const EditorState&) = default;
};

using StartupTest = EditorTest;

// $G stands for the game's folder.
TEST_F(StartupTest, SettingsGiveTheGameFolderAndItsFoldersWithoutAsking) {
  const struct {
    const char* name;
    const char* file;
    const char* settings;
    std::vector<std::string> made;  // in the game's folder beforehand
    const char* gameFolder;
    std::vector<std::string> gameList, programList;
    const char* scenario;
  } cases[] = {
      {"as written", "KXC2MAP.INI", "[Locations]\r\nKC2=$G\r\n", {}, "$G", {"UserBMP", "UserMap"}, {"KXC2MAP.INI"},
       "$Gscenario"},
      {"any case", "kxc2map.ini", "[LOCATIONS]\nkc2=$G\n", {}, "$G", {"UserBMP", "UserMap"}, {"kxc2map.ini"},
       "$Gscenario"},
      {"no key: the program's folder", "KXC2MAP.INI", "[Locations]\r\nOther=x\r\n", {}, "", {},
       {"KXC2MAP.INI", "UserBMP", "UserMap"}, "scenario"},
      {"no separator: joined directly", "KXC2MAP.INI", "[Locations]\r\nKC2=$GK2\r\n", {"K2"}, "$GK2",
       {"K2", "K2UserBMP", "K2UserMap"}, {"KXC2MAP.INI"}, "$GK2scenario"},
      {"folders there in any case", "KXC2MAP.INI", "[Locations]\r\nKC2=$G\r\n", {"USERMAP", "userbmp", "Scenario"},
       "$G", {"Scenario", "USERMAP", "userbmp"}, {"KXC2MAP.INI"}, "$GScenario"},
      {"a folder that is gone, used silently", "KXC2MAP.INI", "[Locations]\r\nKC2=$Ggone/deeper/\r\n", {},
       "$Ggone/deeper/", {}, {"KXC2MAP.INI"}, "$Ggone/deeper/scenario"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(game.path()), fs::remove_all(program.path());
    fs::create_directories(game.path()), fs::create_directories(program.path());
    for (const std::string& folder : c.made) fs::create_directory(game.path() / folder);
    writeSettings(Replaced(c.settings, game.folder()), c.file);
    shell.clear();
    start();
    const std::string gameFolder = *c.gameFolder ? Replaced(c.gameFolder, game.folder()) : program.folder();
    EXPECT_EQ(editor->programFolder(), program.folder());
    EXPECT_EQ(editor->gameFolder(), gameFolder);
    EXPECT_TRUE(shell.openShown.empty() && shell.errors.empty());
    EXPECT_EQ(ListFolder(game.path()), c.gameList);
    EXPECT_EQ(ListFolder(program.path()), c.programList);
    const std::string scenario = *c.gameFolder ? Replaced(c.scenario, game.folder()) : gameFolder + c.scenario;
    EXPECT_EQ(editor->SaveDialog1.initialFolder, scenario);
    cancelOpen();
    editor->Open1Click();
    ASSERT_EQ(shell.openShown.size(), 1u);
    EXPECT_EQ(shell.openShown[0].initialFolder, scenario);
  }
}

TEST_F(StartupTest, StartsWithNoMap) {
  pointSettingsAtGame();
  start();
  EXPECT_EQ(view(), ViewState{});
  EXPECT_EQ(editor->document().header, MapHeader{});
  const EditorSnapshot s = shot();
  EXPECT_EQ(s.scrollBars, ScrollBarsOf(ViewState{}));
  EXPECT_EQ(s.terrainRow, 0);
  EXPECT_FALSE(s.mapShown || s.mapCommandsEnabled || s.unsaved || s.undoEnabled || s.mapBounds);
  EXPECT_EQ(s.header, (std::array<std::string, 3>{"Map Name", "Selected Hex", "Hex Under Cursor"}));
}

TEST_F(StartupTest, FirstStartAsksForTheGame) {
  const struct {
    const char* chosen;  // nullptr: the user cancels
    bool accepted;
  } cases[] = {{"korvex2.exe", true},      {"KORVEX2.EXE", true},      {"Korvex2.Exe", true}, {"korvex3.exe", false},
               {"korvex2.exe.bak", false}, {"korvex2", false}, {nullptr, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen ? c.chosen : "cancelled");
    fs::remove_all(game.path()), fs::remove_all(program.path());
    fs::create_directories(game.path()), fs::create_directories(program.path());
    shell.clear();
    c.chosen ? chooseOpen(game.file(c.chosen)) : cancelOpen();
    start();
    ASSERT_EQ(shell.openShown.size(), 1u);
    const Shell::FileDialogState& shown = shell.openShown[0];
    EXPECT_EQ(shown.title, "Please locate KORVEX2.EXE");
    EXPECT_EQ(shown.filterIndex, 3);
    EXPECT_EQ(shown.filter, "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe");
    EXPECT_TRUE(shown.fileName.empty() && shell.errors.empty() && shell.notices.empty());
    if (c.accepted) {
      EXPECT_EQ(editor->gameFolder(), Native(game.folder()));
      EXPECT_EQ(Text(ReadBytes(program.path() / "KXC2MAP.INI")), "[Locations]\r\nKC2=" + Native(game.folder()) + "\r\n");
      EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"UserBMP", "UserMap"}));
      EXPECT_EQ(ListFolder(program.path()), std::vector<std::string>{"KXC2MAP.INI"});
      EXPECT_EQ(editor->SaveDialog1.initialFolder, Native(game.folder()) + "scenario");
      continue;
    }
    EXPECT_EQ(editor->gameFolder(), program.folder());
    EXPECT_EQ(ListFolder(program.path()), (std::vector<std::string>{"UserBMP", "UserMap"}));
    EXPECT_TRUE(ListFolder(game.path()).empty());
    // No settings file, so the next start asks again.
    start();
    EXPECT_EQ(shell.openShown.size(), 2u);
  }
}

TEST_F(StartupTest, ALocatedGameKeepsItsFoldersAndSettingsThatCannotBeWrittenStillUseIt) {
  fs::create_directory(game.path() / "usermap");
  // A folder where the settings file should be: the write fails, silently.
  fs::create_directories(program.path() / "KXC2MAP.INI" / "x");
  chooseOpen(game.file("korvex2.exe"));
  start();
  EXPECT_EQ(editor->gameFolder(), Native(game.folder()));
  EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"UserBMP", "usermap"}));
  EXPECT_TRUE(shell.errors.empty());
}

// Written into the file read afresh under [View], all else kept; read at start-up; never makes the file.
TEST_F(StartupTest, MapBoundsKeptInTheirOwnSection) {
  pointSettingsAtGame();
  start();
  const std::string head = "[Locations]\r\nKC2=" + game.folder() + "\r\n; mine\r\n[View]\r\nGrid=3\r\n";
  writeSettings(head + "\r\n[A]\r\n");
  editor->MapBounds1Click(true);
  EXPECT_TRUE(shot().mapBounds);
  EXPECT_EQ(Text(ReadBytes(program.path() / "KXC2MAP.INI")), head + "MapBounds=1\r\n\r\n[A]\r\n");
  start();
  EXPECT_TRUE(shot().mapBounds);
  fs::remove(program.path() / "KXC2MAP.INI");
  editor->MapBounds1Click(false);
  EXPECT_FALSE(fs::exists(program.path() / "KXC2MAP.INI"));
}

class DocumentTest : public EditorTest {
 protected:
  void SetUp() override {
    pointSettingsAtGame();
    start();
  }
  // A map present with something painted on it.
  void newMapWithPaint() {
    editor->New1Click();
    grid().setTerrain(3, 4, 7);
    grid().setRoadMask(3, 4, 9);
  }
};

TEST_F(DocumentTest, NewAtStartAsksNothingAndShowsAnEmptyMap) {
  editor->New1Click();
  EXPECT_TRUE(shell.confirmQuestions.empty());
  const EditorSnapshot s = shot();
  EXPECT_EQ(s.header[0], kUntitled);
  EXPECT_EQ(s.header[1], "Selected: ( 00, 00 ) Clear ");
  EXPECT_TRUE(s.mapShown && s.mapCommandsEnabled && !s.unsaved);
  EXPECT_EQ(editor->document().header, (MapHeader{0, 44, 39}));
  EXPECT_EQ(view(), (ViewState{true, 0, 0, 0, 0, true}));
  EXPECT_EQ(grid(), MapGrid{});
  EXPECT_TRUE(showsFullRedraw());
}

TEST_F(DocumentTest, NewThenSaveWritesThePresetsAndExactBytes) {
  editor->New1Click();
  grid().setTerrain(1, 0, 3);
  grid().setRoadMask(44, 39, 0x81);
  okParameters();
  chooseSave(game.file("first.map"));
  editor->SaveAs1Click();
  ASSERT_EQ(shell.parametersShown.size(), 1u);
  EXPECT_EQ(shell.parametersShown[0].columns, 44);
  EXPECT_EQ(shell.parametersShown[0].rows, 39);
  EXPECT_FALSE(shell.parametersShown[0].seasonEnabled);

  const std::vector<std::uint8_t> bytes = ReadBytes(game.file("first.map"));
  ASSERT_EQ(bytes.size(), 14561u);
  EXPECT_EQ(Head(bytes, 10), (std::vector<std::uint8_t>{0x20, 0, 0x2C, 0, 0x27, 0, 0, 0, 0, 0}));
  EXPECT_EQ(bytes[17], 3);            // hex (1, 0), terrain
  EXPECT_EQ(bytes[12603 + 2], 0x81);  // hex (44, 39), road mask
  const std::vector<std::uint8_t> trailer(bytes.begin() + 12610, bytes.begin() + 12625);
  EXPECT_EQ(trailer, (std::vector<std::uint8_t>{1, 0x55, 1, 0x0C, 4, 1, 0, 0x0E, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(std::count_if(bytes.begin() + 10, bytes.begin() + 12610, [](std::uint8_t b) { return b != 0; }), 2);
  EXPECT_EQ(shot().header[0], "first - 44W x 39H - No. 32");
  EXPECT_EQ(editor->document().header, (MapHeader{32, 44, 39}));
  EXPECT_TRUE(shell.errors.empty());
}

// The save-first question of New, Open and the close request, and how far
// the save the answer Yes starts gets.
TEST_F(DocumentTest, SaveFirstQuestionAnswers) {
  enum Save { None, ParametersCancelled, FileCancelled, Saved, Fails };
  const struct {
    const char* name;
    Answer answer;
    Save save;
    bool goesOn;
  } answers[] = {{"Yes, saved", Answer::Yes, Saved, true},
                 {"Yes, parameters cancelled", Answer::Yes, ParametersCancelled, true},
                 {"Yes, file cancelled", Answer::Yes, FileCancelled, true},
                 {"Yes, the save fails", Answer::Yes, Fails, false},
                 {"No", Answer::No, None, true},
                 {"Cancel", Answer::Cancel, None, false}};
  enum Kind { New, Open, Close };
  const struct {
    Kind kind;
    const char* question;
  } commands[] = {{New, "Do you want to save this map before starting a new one?"},
                  {Open, "Do you want to save this map before opening another?"},
                  {Close, "Do you want to save this map before exiting?"}};
  writeMap("next.map", MapFileBytes(41, 20, 15));
  for (const auto& command : commands)
    for (const auto& a : answers) {
      SCOPED_TRACE(std::string(command.question) + ": " + a.name);
      fs::remove(game.file("end.map"));
      start();
      newMapWithPaint();
      editor->ZoomOut1Click();
      shell.clear();
      const EditorState before(*editor);
      shell.confirmAnswers = {a.answer};
      if (a.save == ParametersCancelled) cancelParameters(50);
      if (a.save >= FileCancelled) okParameters(50);
      if (a.save == FileCancelled) cancelSave();
      if (a.save == Saved) chooseSave(game.file("end.map"));
      if (a.save == Fails) chooseSave(game.folder() + "missing/end.map");
      chooseOpen(game.file("next.map"));
      bool closes = true;
      if (command.kind == New) editor->New1Click();
      if (command.kind == Open) editor->Open1Click();
      if (command.kind == Close) closes = editor->FormCloseQuery();
      EXPECT_EQ(shell.confirmQuestions, std::vector<std::string>{command.question});
      EXPECT_EQ(shell.parametersShown.size(), a.save == None ? 0u : 1u);
      EXPECT_EQ(shell.saveShown.size(), a.save >= FileCancelled ? 1u : 0u);
      EXPECT_EQ(fs::exists(game.file("end.map")), a.save == Saved);
      EXPECT_TRUE(a.save != Saved || ReadBytes(game.file("end.map"))[10 + 7 * (45 * 4 + 3)] == 7);
      EXPECT_EQ(shell.errors, a.save == Fails ? std::vector<std::string>{"Invalid filename"} : std::vector<std::string>{});
      EXPECT_FALSE(fs::exists(game.path() / "missing"));
      EXPECT_EQ(closes, command.kind != Close || a.goesOn);
      EXPECT_EQ(shell.openShown.size(), command.kind == Open && a.goesOn ? 1u : 0u);
      const int mapNumber = a.save >= FileCancelled ? 50 : before.header.mapNumber;
      if (command.kind == Close || !a.goesOn) {
        // Only the values the dialog gave stand.
        EditorState after(*editor);
        EXPECT_EQ(after.header, (MapHeader{mapNumber, 44, 39}));
        after.header = before.header;
        if (a.save == Saved) after.shot.header[0] = before.shot.header[0], after.shot.recentMaps = before.shot.recentMaps;
        EXPECT_TRUE(after == before);
      } else if (command.kind == Open) {
        EXPECT_EQ(shot().header[0], "next - 20W x 15H - No. 41");
      } else {
        EXPECT_EQ(grid(), MapGrid{});
        EXPECT_EQ(shot().header[0], kUntitled);
        EXPECT_EQ(editor->document().header, (MapHeader{mapNumber, 44, 39}));
      }
    }
  shell.clear();
  start();
  EXPECT_TRUE(editor->FormCloseQuery());
  EXPECT_TRUE(shell.confirmQuestions.empty());
}

TEST_F(DocumentTest, OpenReadsTheFileAndResetsTheView) {
  fs::create_directory(game.path() / "scenario");
  writeMap("scenario/river", MapFileBytes(45, 30, 20));
  editor->New1Click();
  editor->HScrollBarScroll(6);
  editor->MapImageMouseUp(MouseButton::Right, {100, 100});
  chooseOpen(game.folder() + "scenario/river");
  shell.confirmAnswers.push_back(Answer::No);
  editor->Open1Click();
  ASSERT_EQ(shell.openShown.size(), 1u);
  EXPECT_EQ(shell.openShown[0].title, "Open KC2 map description");
  EXPECT_EQ(shell.openShown[0].filterIndex, 1);
  EXPECT_TRUE(shell.openShown[0].fileName.empty());
  EXPECT_EQ(shell.openShown[0].initialFolder, game.folder() + "scenario");
  EXPECT_EQ(editor->document().header, (MapHeader{45, 30, 20}));
  for (const HexCoord hex : {HexCoord{0, 0}, HexCoord{13, 7}, HexCoord{44, 39}})
    EXPECT_EQ(grid().record(hex.column, hex.row), MapFileRecord(hex.column, hex.row));
  EXPECT_EQ(view(), (ViewState{true, 0, 0, 0, 0, true}));
  EXPECT_EQ(shot().scrollBars, ScrollBarsOf(view()));
  EXPECT_EQ(shot().header[1], "Selected: ( 00, 00 ) Clear ");
  EXPECT_TRUE(showsFullRedraw());
  EXPECT_TRUE(shell.errors.empty());
  // Zoomed out it stays so, from the corner.
  editor->HScrollBarScroll(5), editor->VScrollBarScroll(4), editor->ZoomOut1Click();
  shell.confirmAnswers.push_back(Answer::No);
  chooseOpen(game.folder() + "scenario/river");
  editor->Open1Click();
  EXPECT_EQ(view(), (ViewState{false, 0, 0, 0, 0, true}));
  EXPECT_EQ(shot().scrollBars, ScrollBarsOf(view()));  // disabled: view_size_test
}

TEST_F(DocumentTest, OpenAtStartShowsTheMapCaptionedFromNameAndHeader) {
  const struct {
    const char* file;
    int mapNumber, columns, rows;
    std::size_t size;
    const char* caption;
  } cases[] = {{"my.map.map", 32, 44, 39, 14561, "my - 44W x 39H - No. 32"},
               {"river", 45, 30, 20, 14561, "river - 30W x 20H - No. 45"},
               {"Big Sea.MAP", 7, 60, 9, 14561, "Big Sea - 60W x 09H - No.  7"},
               {"wide.map", 123, 1000, 0, 14561, "wide - 1000W x 00H - No. 123"},
               {".hidden.map", 99, 16, 11, 14561, " - 16W x 11H - No. 99"},
               {"max.map", 65535, 65535, 65535, 14561, "max - 65535W x 65535H - No. 65535"},
               {"exact.map", 33, 20, 15, 12610, "exact - 20W x 15H - No. 33"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    start();
    writeMap(c.file, MapFileBytes(c.mapNumber, c.columns, c.rows, c.size));
    chooseOpen(game.file(c.file));
    editor->Open1Click();
    EXPECT_EQ(shot().header[0], c.caption);
    EXPECT_TRUE(shot().mapShown && shot().mapCommandsEnabled);
  }
  EXPECT_TRUE(shell.confirmQuestions.empty() && shell.errors.empty());
}

TEST_F(DocumentTest, AFailedOpenChangesNothing) {
  const struct {
    std::size_t size;  // 0: no such file
    const char* file;
    const char* message;
  } cases[] = {{12609, "short.map", "Read beyond end of file"},
               {4, "tiny.map", "Read beyond end of file"},
               {0, "none.map", "File not found"},
               {0, "nofolder/x.map", "Invalid filename"}};
  for (const auto& c : cases)
    for (const bool mapFirst : {false, true}) {
      SCOPED_TRACE(std::string(c.file) + (mapFirst ? " over a map" : ""));
      if (c.size) writeMap(c.file, MapFileBytes(70, 20, 12, c.size));
      shell.clear();
      start();
      if (mapFirst) {
        editor->New1Click();
        grid().setTerrain(5, 5, 9);
        editor->ZoomOut1Click();
        editor->MapImageMouseUp(MouseButton::Right, {30, 30});
      }
      const EditorState before(*editor);
      shell.confirmAnswers.push_back(Answer::No);
      chooseOpen(game.file(c.file));
      editor->Open1Click();
      EXPECT_EQ(shell.errors, std::vector<std::string>{c.message});
      EXPECT_TRUE(EditorState(*editor) == before);
      EXPECT_EQ(shot().mapShown, mapFirst);
    }
}

TEST_F(DocumentTest, SaveWritesTheDialogsHeaderAndCarriesTheRecordsAndNewKeepsTheNumber) {
  const std::vector<std::uint8_t> original = MapFileBytes(45, 60, 5);
  writeMap("o.map", original);
  chooseOpen(game.file("o.map"));
  editor->Open1Click();
  okParameters(-1, 44, 11);
  chooseSave(game.file("o2.map"));
  editor->SaveAs1Click();
  ASSERT_EQ(shell.parametersShown.size(), 1u);
  EXPECT_EQ(shell.parametersShown[0].columns, 60);  // the dialog brings them into its ranges
  EXPECT_EQ(shell.parametersShown[0].rows, 5);
  const std::vector<std::uint8_t> saved = ReadBytes(game.file("o2.map"));
  ASSERT_EQ(saved.size(), 14561u);
  EXPECT_EQ(Head(saved, 10), (std::vector<std::uint8_t>{32, 0, 44, 0, 11, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(std::equal(saved.begin() + 10, saved.begin() + 12610, original.begin() + 10));
  EXPECT_EQ(saved[12610], 1);
  EXPECT_EQ(shot().header[0], "o2 - 44W x 11H - No. 32");
  EXPECT_FALSE(shot().unsaved);
  shell.confirmAnswers.push_back(Answer::No);
  editor->New1Click();  // the map number stays, unshown
  EXPECT_EQ(editor->document().header, (MapHeader{32, 44, 39}));
  EXPECT_EQ(shot().header[0], kUntitled);
}

// Each way Save can end, from an opened map: what the header, the caption
// and the folder hold after it.
TEST_F(DocumentTest, SaveOutcomes) {
  const struct {
    const char* name;
    bool parametersOk;
    const char* file;  // nullptr: the file dialog is cancelled
    std::size_t errors;
    const char* caption;
    std::vector<std::string> folder;
  } cases[] = {
      {"parameters cancelled", false, nullptr, 0, "o - 30W x 20H - No. 45", {"o.map", "taken.map"}},
      {"file cancelled", true, nullptr, 0, "o - 30W x 20H - No. 45", {"o.map", "taken.map"}},
      {"into a missing folder", true, "nowhere/x.map", 1, "o - 30W x 20H - No. 45", {"o.map", "taken.map"}},
      {"over a folder", true, "taken.map", 1, "o - 30W x 20H - No. 45", {"o.map", "taken.map"}},
      {"over the map", true, "o.map", 0, "o - 20W x 15H - No. 60", {"o.map", "taken.map"}},
      {"a new file", true, "new.map", 0, "new - 20W x 15H - No. 60", {"new.map", "o.map", "taken.map"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(game.path()), fs::create_directories(game.path() / "taken.map" / "inside");
    writeMap("o.map", MapFileBytes(45, 30, 20));
    shell.clear();
    start();
    fs::remove(game.path() / "UserBMP"), fs::remove(game.path() / "UserMap");
    chooseOpen(game.file("o.map"));
    editor->Open1Click();
    grid().setTerrain(2, 2, 9);
    const EditorState before(*editor);
    c.parametersOk ? okParameters(60, 20, 15) : cancelParameters();
    c.file ? chooseSave(game.file(c.file)) : cancelSave();
    editor->SaveAs1Click();
    EXPECT_EQ(shell.saveShown.size(), c.parametersOk ? 1u : 0u);
    EXPECT_EQ(shell.errors.size(), c.errors);
    EXPECT_EQ(editor->document().header, c.parametersOk ? (MapHeader{60, 20, 15}) : before.header);
    EXPECT_EQ(shot().header[0], c.caption);
    EXPECT_EQ(ListFolder(game.path()), c.folder);
    EXPECT_TRUE(fs::is_directory(game.path() / "taken.map" / "inside"));
    EXPECT_EQ(ReadBytes(game.file("o.map"))[10 + 7 * (45 * 2 + 2)], std::string(c.name) == "over the map" ? 9 : 4);
    EXPECT_TRUE(c.parametersOk || EditorState(*editor) == before);
    // The next dialog shows the header's size.
    cancelParameters(), editor->SaveAs1Click();
    EXPECT_EQ(shell.parametersShown.back().columns, c.parametersOk ? 20 : 30);
  }
}

TEST_F(DocumentTest, SaveDialogProposesTheMapsFileOrTheLastChoice) {
  editor->New1Click();
  okParameters();
  chooseSave(game.file("my.map.map"));
  editor->SaveAs1Click();
  EXPECT_EQ(shot().header[0], "my - 44W x 39H - No. 32");
  okParameters();
  cancelSave();
  editor->SaveAs1Click();
  ASSERT_EQ(shell.saveShown.size(), 2u);
  const Shell::FileDialogState& first = shell.saveShown[0];
  EXPECT_EQ(first.title, "Save KC2 Map Description");
  EXPECT_EQ(first.filter, "KC2 Maps|*.map");
  EXPECT_EQ(first.defaultExtension, "map");
  EXPECT_TRUE(first.overwritePrompt && !first.multiSelect);
  EXPECT_EQ(first.initialFolder, game.folder() + "scenario");
  EXPECT_TRUE(first.fileName.empty());
  EXPECT_EQ(shell.saveShown[1].fileName, game.file("my.map.map"));
  // An opened map proposes its own file; a new one after it the last choice.
  fs::create_directory(game.path() / "other");
  writeMap("other/river.map", MapFileBytes(40, 30, 20));
  shell.confirmAnswers = {Answer::No, Answer::No};
  chooseOpen(game.file("other/river.map"));
  editor->Open1Click();
  for (auto step : {&MapEditor::SaveAs1Click, &MapEditor::New1Click, &MapEditor::SaveAs1Click})
    okParameters(), cancelSave(), ((*editor).*step)();
  ASSERT_EQ(shell.saveShown.size(), 4u);
  EXPECT_EQ(shell.saveShown[2].fileName, Native(game.file("other/river.map")));
  EXPECT_EQ(shell.saveShown[3].fileName, game.file("my.map.map"));
  EXPECT_EQ(shell.saveShown[3].initialFolder, game.folder() + "scenario");
}

// Open and Save list the maps newest first, in the settings file too; a
// recent map opens after the save-first question; a missing one is named
// and leaves the list.
TEST_F(DocumentTest, RecentMaps) {
  writeMap("a.map", MapFileBytes(40, 30, 20));
  writeMap("b.map", MapFileBytes(41, 20, 15));
  const auto inSettings = [this] { return RecentMaps::Read(IniFile::Load(program.file("KXC2MAP.INI"))).paths(); };
  chooseOpen(game.file("a.map"));
  editor->Open1Click();
  shell.confirmAnswers.push_back(Answer::No);
  chooseOpen(game.file("b.map"));
  editor->Open1Click();
  const std::vector<std::string> both{game.file("b.map"), game.file("a.map")};
  EXPECT_EQ(inSettings(), both);
  EXPECT_EQ(shot().recentMaps, both);
  EXPECT_EQ(IniFile::Load(program.file("KXC2MAP.INI")).readString("Locations", "KC2", ""), game.folder());
  okParameters(50);
  chooseSave(game.file("saved.map"));
  editor->SaveAs1Click();
  EXPECT_EQ(inSettings().front(), game.file("saved.map"));

  shell.confirmAnswers.push_back(Answer::No);
  editor->openRecentMap(game.file("a.map"));
  EXPECT_EQ(shell.confirmQuestions.size(), 2u);
  EXPECT_EQ(shot().header[0], "a - 30W x 20H - No. 40");
  EXPECT_EQ(shot().recentMaps.front(), game.file("a.map"));

  fs::remove(game.file("b.map"));
  editor->openRecentMap(game.file("b.map"));
  EXPECT_EQ(shell.errors, std::vector<std::string>{"The map " + game.file("b.map") + " no longer exists."});
  EXPECT_EQ(shell.confirmQuestions.size(), 2u);
  EXPECT_EQ(inSettings(), (std::vector<std::string>{game.file("a.map"), game.file("saved.map")}));
  EXPECT_EQ(shot().recentMaps, inSettings());
}

}  // namespace
}  // namespace kxc2::test
