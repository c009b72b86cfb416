// Start-up of the main window: settings file, locating the game, folders.
#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include "editor/image_control.h"
#include "editor/road_box.h"
#include "tests/editor/commands_fixture.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

using StartupTest = CommandsTest;

TEST_F(StartupTest, SettingsFileGivesTheGameFolderWithoutAsking) {
  pointSettingsAtGame();
  start();
  EXPECT_EQ(form->ProgramFolder(), programFolder());
  EXPECT_EQ(form->GameFolder(), gameFolder());
  EXPECT_TRUE(dialogs.openShown.empty());
  EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"UserBMP", "UserMap"}));
  EXPECT_EQ(ListFolder(program.path()), std::vector<std::string>{"KXC2MAP.INI"});
  EXPECT_EQ(QString::fromStdString(form->SaveDialog1.initialFolder), gameFolder() + "scenario");
}

TEST_F(StartupTest, FileDialogsAreSetUp) {
  pointSettingsAtGame();
  start();
  EXPECT_EQ(form->OpenDialog1.filter, "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe");
  EXPECT_EQ(form->SaveDialog1.title, "Save KC2 Map Description");
  EXPECT_EQ(form->SaveDialog1.filter, "KC2 Maps|*.map");
  EXPECT_EQ(form->SaveDialog1.defaultExtension, "map");
  EXPECT_TRUE(form->SaveDialog1.overwritePrompt);
  EXPECT_FALSE(form->SaveDialog1.multiSelect);
  EXPECT_TRUE(form->SaveDialog1.fileName.empty());
}

TEST_F(StartupTest, ViewStateAndControlsAtStart) {
  pointSettingsAtGame();
  start();
  EXPECT_EQ(form->viewState(), ViewState{});
  EXPECT_EQ(form->HScrollBar->value(), 0);
  EXPECT_EQ(form->HScrollBar->minimum(), 0);
  EXPECT_EQ(form->HScrollBar->maximum(), 31);
  EXPECT_EQ(form->HScrollBar->pageStep(), 13);
  EXPECT_EQ(form->VScrollBar->value(), 0);
  EXPECT_EQ(form->VScrollBar->maximum(), 30);
  EXPECT_EQ(form->VScrollBar->pageStep(), 9);
  EXPECT_EQ(form->TerrainList->currentRow(), 0);
  EXPECT_TRUE(form->MapImage->isHidden());
  EXPECT_FALSE(form->SaveAs1->isEnabled());
  EXPECT_FALSE(form->PaintBMPs1->isEnabled());
  EXPECT_EQ(form->headerSection(0), "Map Name");
  EXPECT_EQ(form->document().header, MapHeader{});
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_EQ(QApplication::focusWidget(), form->Road1);
}

TEST_F(StartupTest, SettingsFoundInAnyCaseAndNamesCompareWithoutCase) {
  writeSettings("[LOCATIONS]\nkc2=" + game.folder() + "\n", "kxc2map.ini");
  start();
  EXPECT_EQ(form->GameFolder(), gameFolder());
  EXPECT_TRUE(dialogs.openShown.empty());
}

TEST_F(StartupTest, MissingKeyGivesTheProgramFolder) {
  writeSettings("[Locations]\r\nOther=x\r\n");
  start();
  EXPECT_EQ(form->GameFolder(), programFolder());
  EXPECT_TRUE(dialogs.openShown.empty());
  EXPECT_EQ(ListFolder(program.path()), (std::vector<std::string>{"KXC2MAP.INI", "UserBMP", "UserMap"}));
}

TEST_F(StartupTest, ValueWithoutTrailingSeparatorJoinsDirectly) {
  const fs::path k2 = game.path() / "K2";
  fs::create_directory(k2);
  writeSettings("[Locations]\r\nKC2=" + k2.string() + "\r\n");
  start();
  EXPECT_EQ(form->GameFolder(), QString::fromStdString(k2.string()));
  EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"K2", "K2UserBMP", "K2UserMap"}));
  EXPECT_TRUE(ListFolder(k2).empty());
  EXPECT_EQ(QString::fromStdString(form->SaveDialog1.initialFolder), QString::fromStdString(k2.string()) + "scenario");
}

TEST_F(StartupTest, ExistingFoldersServeInAnyCase) {
  fs::create_directory(game.path() / "USERMAP");
  fs::create_directory(game.path() / "userbmp");
  fs::create_directory(game.path() / "Scenario");
  pointSettingsAtGame();
  start();
  EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"Scenario", "USERMAP", "userbmp"}));
  EXPECT_EQ(QString::fromStdString(form->SaveDialog1.initialFolder), gameFolder() + "Scenario");
}

TEST_F(StartupTest, StoredFolderThatIsGoneIsUsedSilently) {
  writeSettings("[Locations]\r\nKC2=" + game.folder() + "gone/deeper/\r\n");
  start();
  EXPECT_EQ(form->GameFolder(), gameFolder() + "gone/deeper/");
  EXPECT_TRUE(ListFolder(game.path()).empty());
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

struct LocateCase {
  const char* name;
  const char* chosen;  // nullptr: the user cancels
  bool accepted;
};
// Without it gtest prints the raw bytes, padding and all, which valgrind
// rightly calls uninitialised.
void PrintTo(const LocateCase& c, std::ostream* out) { *out << c.name; }

class LocateGameTest : public CommandsTest, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateGameTest, FirstStartAsksForTheGame) {
  const LocateCase& c = GetParam();
  if (c.chosen)
    chooseOpen(game.file(c.chosen));
  else
    cancelOpen();
  start();

  ASSERT_EQ(dialogs.openShown.size(), 1u);
  const FileDialogState& shown = dialogs.openShown[0];
  EXPECT_EQ(shown.title, "Please locate KORVEX2.EXE");
  EXPECT_EQ(shown.filterIndex, 3);
  EXPECT_EQ(shown.filter, "KC2 Maps|*.map|KC2 Bitmaps|Map*.bmp|KC2 Program|Korvex2.exe");
  EXPECT_TRUE(shown.fileName.isEmpty());
  EXPECT_TRUE(dialogs.errors.isEmpty());
  EXPECT_TRUE(dialogs.notices.isEmpty());

  if (c.accepted) {
    EXPECT_EQ(form->GameFolder(), gameFolder());
    EXPECT_EQ(Text(ReadBytes(program.path() / "KXC2MAP.INI")), "[Locations]\r\nKC2=" + game.folder() + "\r\n");
    EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"UserBMP", "UserMap"}));
    EXPECT_EQ(ListFolder(program.path()), std::vector<std::string>{"KXC2MAP.INI"});
    EXPECT_EQ(QString::fromStdString(form->SaveDialog1.initialFolder), gameFolder() + "scenario");
  } else {
    EXPECT_EQ(form->GameFolder(), programFolder());
    EXPECT_EQ(ListFolder(program.path()), (std::vector<std::string>{"UserBMP", "UserMap"}));
    EXPECT_TRUE(ListFolder(game.path()).empty());
    // No settings file, so the next start asks again.
    form.reset();
    cancelOpen();
    start();
    EXPECT_EQ(dialogs.openShown.size(), 2u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, LocateGameTest,
    ::testing::Values(LocateCase{"LowerCase", "korvex2.exe", true}, LocateCase{"UpperCase", "KORVEX2.EXE", true},
                      LocateCase{"MixedCase", "Korvex2.Exe", true}, LocateCase{"OtherName", "korvex3.exe", false},
                      LocateCase{"LongerName", "korvex2.exe.bak", false},
                      LocateCase{"NoExtension", "korvex2", false}, LocateCase{"Cancelled", nullptr, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, LocatedGameWithExistingFoldersCreatesNoOthers) {
  fs::create_directory(game.path() / "usermap");
  chooseOpen(game.file("korvex2.exe"));
  start();
  EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"UserBMP", "usermap"}));
}

TEST_F(StartupTest, SettingsThatCannotBeWrittenStillUseTheGame) {
  // A folder where the settings file should be: the write fails, silently.
  fs::create_directory(program.path() / "KXC2MAP.INI");
  fs::create_directory(program.path() / "KXC2MAP.INI" / "x");
  chooseOpen(game.file("korvex2.exe"));
  start();
  EXPECT_EQ(form->GameFolder(), gameFolder());
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

// Written into the file read afresh under [View], all else kept; read at start-up; never makes the file.
TEST_F(StartupTest, MapBoundsKeptInTheirOwnSection) {
  pointSettingsAtGame();
  start();
  const std::string head = "[Locations]\r\nKC2=" + game.folder() + "\r\n; mine\r\n[View]\r\nGrid=3\r\n";
  writeSettings(head + "\r\n[A]\r\n");
  form->MapBounds1->trigger();
  EXPECT_EQ(Text(ReadBytes(program.path() / "KXC2MAP.INI")), head + "MapBounds=1\r\n\r\n[A]\r\n");
  start();
  EXPECT_TRUE(form->MapBounds1->isChecked());
  fs::remove(program.path() / "KXC2MAP.INI");
  form->MapBounds1->trigger();
  EXPECT_FALSE(fs::exists(program.path() / "KXC2MAP.INI"));
}

}  // namespace
}  // namespace kxc2::test
