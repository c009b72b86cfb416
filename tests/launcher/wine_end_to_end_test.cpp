// The cross-compiled KxC2Run.exe under Wine, each run in a fresh prefix.
#include <gtest/gtest.h>

#include <cstdlib>
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

// The folder as Wine shows it: the root file system is drive Z.
std::string WindowsName(const fs::path& path) {
  std::string name = "Z:" + fs::canonical(path).string();
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

class LauncherUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(Game());
    fs::create_directory(Game() / "UserMap");
    WriteBytes(Game() / "UserMap" / "Map01.shp", {1, 2, 3});
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

  fs::path Game() const { return dir_.path() / "game"; }

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

  std::string Lines(const std::vector<std::string>& lines) const {
    std::string text = "Welcome to KxC2Run\r\n\r\nCurrent directory is " + WindowsName(Game()) + "\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text + "This window will self-destruct in 3 seconds.\r\n";
  }

  void ExpectUserMapRestored() const {
    EXPECT_FALSE(fs::exists(Game() / "MAP"));
    EXPECT_FALSE(fs::exists(Game() / "USERMAP"));
    EXPECT_EQ(ReadBytes(Game() / "UserMap" / "Map01.shp"), (std::vector<std::uint8_t>{1, 2, 3}));
  }

  TempDir dir_;
  TempDir prefix_;
};

TEST_F(LauncherUnderWine, RunsAGameThatEndsWith259) {
  fs::copy_file(KXC2_FAKE_GAME_EXE, Game() / "korvex2.exe");
  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out) << "the launcher kept waiting for a game that ended with 259";
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, Lines({"Renamed USERMAP to MAP", "Attempting to launch KxC2",
                               "KxC2 is starting...", "Detected KxC2 shutdown",
                               "Renamed MAP to USERMAP"}));
  EXPECT_EQ(ReadText(Game() / "record.txt"), "MAP present\nkorvex2.exe\n");
  ExpectUserMapRestored();
}

TEST_F(LauncherUnderWine, NoGameRenamesBack) {
  const ProgramRun run = Run();
  ASSERT_FALSE(run.timed_out);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, Lines({"Renamed USERMAP to MAP", "Attempting to launch KxC2",
                               "Error, KxC2 failed to launch", "Renamed MAP to USERMAP"}));
  ExpectUserMapRestored();
  EXPECT_EQ(ListFolder(Game()), std::vector<std::string>{"UserMap"});
}

}  // namespace
}  // namespace kxc2::test
