// KxC2Run itself, run in a temporary game folder with real sleeps.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/launcher/game_folder_fixture.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

class LauncherEndToEnd : public GameFolderTest {
 protected:
  std::string ShownFolder() const override { return fs::canonical(Game()).string(); }

  ProgramRun Run(bool console_open = true) {
    ProgramStart start;
    start.arguments = {KXC2RUN_PATH};
    start.folder = Game().string();
    // Nothing called korvex2.exe on this PATH or beside the launcher.
    start.environment = {"PATH=/usr/bin:/bin"};
    if (console_open) start.output_file = dir_.file("stdout");
    start.timeout = std::chrono::seconds(40);
    return RunProgram(start);
  }
};

TEST_F(LauncherEndToEnd, RunsTheGameWithMapInPlace) {
  WriteScript(Game() / "korvex2.exe",
              "if [ -f MAP/Map01.shp ] && [ ! -e UserMap ]; then echo MAP > seen; else echo none > seen; fi\n"
              "sleep 1\n");

  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out);
  ExpectGameRan(run);
  EXPECT_EQ(ReadText(Game() / "seen"), "MAP\n");
  ExpectUserMapRestored();
  EXPECT_EQ(ListFolder(Game()), (std::vector<std::string>{"UserMap", "korvex2.exe", "seen"}));
  // A game of one second is seen ended at the second poll, 4 s in, then 3 s pause.
  EXPECT_GE(run.elapsed.count(), 7.0);
  EXPECT_LT(run.elapsed.count(), 20.0);
}

TEST_F(LauncherEndToEnd, NoGameAnywhereRenamesBack) {
  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out);
  ExpectNoGameRun(run);
  EXPECT_GE(run.elapsed.count(), 3.0);
}

TEST_F(LauncherEndToEnd, ClosedConsoleEndsAtOnceWithOne) {
  const ProgramRun run = Run(false);
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 1);
  ExpectUserMapRestored();
  EXPECT_LT(run.elapsed.count(), 3.0);
}

}  // namespace
}  // namespace kxc2::test
