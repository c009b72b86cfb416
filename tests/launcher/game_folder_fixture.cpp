#include "tests/launcher/game_folder_fixture.h"

#include <fstream>
#include <sstream>

namespace kxc2::test {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteScript(const fs::path& path, const std::string& body) {
  const std::string text = "#!/bin/sh\n" + body;
  WriteBytes(path, {text.begin(), text.end()});
  fs::permissions(path, fs::perms::owner_all);
}

void GameFolderTest::SetUp() {
  fs::create_directory(Game());
  fs::create_directory(Game() / "UserMap");
  WriteBytes(Game() / "UserMap" / "Map01.shp", {1, 2, 3});
}

std::string GameFolderTest::Lines(const std::vector<std::string>& lines) const {
  std::string text = "Welcome to KxC2Run\r\n\r\nCurrent directory is " + ShownFolder() + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text + "This window will self-destruct in 3 seconds.\r\n";
}

void GameFolderTest::ExpectGameRan(const ProgramRun& run) const {
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, Lines({"Renamed USERMAP to MAP", "Attempting to launch KxC2",
                               "KxC2 is starting...", "Detected KxC2 shutdown",
                               "Renamed MAP to USERMAP"}));
}

void GameFolderTest::ExpectNoGameRun(const ProgramRun& run) const {
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.output, Lines({"Renamed USERMAP to MAP", "Attempting to launch KxC2",
                               "Error, KxC2 failed to launch", "Renamed MAP to USERMAP"}));
  ExpectUserMapRestored();
  EXPECT_EQ(ListFolder(Game()), std::vector<std::string>{"UserMap"});
}

void GameFolderTest::ExpectUserMapRestored() const {
  EXPECT_FALSE(fs::exists(Game() / "MAP"));
  EXPECT_EQ(ReadBytes(Game() / "UserMap" / "Map01.shp"), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace kxc2::test
