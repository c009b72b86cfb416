// The cross-compiled KxC2Run.exe under Wine, each run in a fresh prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/launcher/game_folder_fixture.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

// The folder as Wine shows it: the root file system is drive Z.
std::string WindowsName(const fs::path& path) {
  std::string name = "Z:" + fs::canonical(path).string();
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

class LauncherUnderWine : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    // The launcher runs from its own folder, where no game is.
    fs::create_directory(dir_.path() / "program");
    fs::copy_file(KXC2RUN_EXE, dir_.path() / "program" / "KxC2Run.exe");
    fs::create_directory(prefix_.path() / "wine");
  }
  void TearDown() override {
    // Stop this prefix's server only; other Wine users are left alone.
    ProgramStart stop;
    stop.arguments = {KXC2_WINESERVER, "-k"};
    stop.folder = dir_.path().string();
    stop.environment = Environment();
    stop.output_file = dir_.file("wineserver.out");
    stop.timeout = std::chrono::seconds(20);
    RunProgram(stop);
  }

  std::string ShownFolder() const override { return WindowsName(Game()); }

  std::vector<std::string> Environment() const {
    const char* home = std::getenv("HOME");
    return {"WINEPREFIX=" + (prefix_.path() / "wine").string(), "WINEDEBUG=-all",
            // No Mono or Gecko questions while the prefix is made.
            "WINEDLLOVERRIDES=mscoree,mshtml=", "PATH=/usr/bin:/bin",
            std::string("HOME=") + (home ? home : prefix_.path().c_str())};
  }

  ProgramRun Run() {
    ProgramStart start;
    start.arguments = {KXC2_WINE, (dir_.path() / "program" / "KxC2Run.exe").string()};
    start.folder = Game().string();
    start.environment = Environment();
    start.output_file = dir_.file("stdout");
    start.timeout = std::chrono::seconds(50);
    return RunProgram(start);
  }

  // Back under the user's own spelling, not in a second folder USERMAP.
  void ExpectUserMapRestored() const override {
    GameFolderTest::ExpectUserMapRestored();
    EXPECT_FALSE(fs::exists(Game() / "USERMAP"));
  }

  TempDir prefix_;
};

TEST_F(LauncherUnderWine, RunsAGameThatEndsWith259) {
  fs::copy_file(KXC2_FAKE_GAME_EXE, Game() / "korvex2.exe");
  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out) << "the launcher kept waiting for a game that ended with 259";
  ExpectGameRan(run);
  EXPECT_EQ(ReadText(Game() / "record.txt"), "MAP present\nkorvex2.exe\n");
  ExpectUserMapRestored();
}

TEST_F(LauncherUnderWine, NoGameRenamesBack) {
  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out);
  ExpectNoGameRun(run);
}

}  // namespace
}  // namespace kxc2::test
