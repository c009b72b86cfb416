// KxC2Run itself, run in a temporary game folder with real sleeps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/launcher/run_program.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class LauncherEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(Game());
    fs::create_directory(Game() / "UserMap");
    WriteBytes(Game() / "UserMap" / "Map01.shp", {1, 2, 3});
  }
  fs::path Game() const { return dir_.path() / "game"; }

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

  std::string Lines(const std::vector<std::string>& lines) const {
    std::string text = "Welcome to KxC2Run\r\n\r\nCurrent directory is " +
                       fs::canonical(Game()).string() + "\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text + "This window will self-destruct in 3 seconds.\r\n";
  }

  void ExpectUserMapRestored() const {
    EXPECT_FALSE(fs::exists(Game() / "MAP"));
    EXPECT_EQ(ReadBytes(Game() / "UserMap" / "Map01.shp"), (std::vector<std::uint8_t>{1, 2, 3}));
  }

  TempDir dir_;
};

TEST_F(LauncherEndToEnd, RunsTheGameWithMapInPlace) {
  const std::string game = (Game() / "korvex2.exe").string();
  const std::string script =
      "#!/bin/sh\n"
      "if [ -f MAP/Map01.shp ] && [ ! -e UserMap ]; then echo MAP > seen; else echo none > seen; fi\n"
      "sleep 1\n";
  WriteBytes(game, {script.begin(), script.end()});
  fs::permissions(game, fs::perms::owner_all);

  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, Lines({"Renamed USERMAP to MAP", "Attempting to launch KxC2",
                               "KxC2 is starting...", "Detected KxC2 shutdown",
                               "Renamed MAP to USERMAP"}));
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
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, Lines({"Renamed USERMAP to MAP", "Attempting to launch KxC2",
                               "Error, KxC2 failed to launch", "Renamed MAP to USERMAP"}));
  ExpectUserMapRestored();
  EXPECT_EQ(ListFolder(Game()), std::vector<std::string>{"UserMap"});
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
