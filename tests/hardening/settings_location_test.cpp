// Where KXC2MAP.INI is read and written when the program's folder may not be
// written, as under /usr/bin. Each case runs as "nobody", for whom a
// read-only folder really is read-only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "editing/settings_location.h"
#include "tests/hardening/command_faults.h"
#include "tests/hardening/fault_support.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

const std::string kNoGame = "[Locations]\r\nKC2=/nowhere/\r\n";

class SettingsFoldersTest : public FaultTest {
 protected:
  fs::path configPath() const { return root() / "config"; }
  fs::path userPath() const { return configPath() / "KxC2Map"; }
  std::string userFolder() const { return userPath().string() + "/"; }

  // Writable by nobody, or by nobody at all.
  void makeFolder(const fs::path& folder, bool writable) {
    fs::create_directories(folder);
    if (writable)
      fs::permissions(folder, fs::perms::all, fs::perm_options::replace);
    else
      MakeReadOnlyFolder(folder);
    OpenForNobody(folder);
  }
};

struct LocationCase {
  const char* name;
  bool programWritable;
  bool fileBeside;
  bool fileInUserFolder;
  bool expectBeside;
};

class SettingsLocationTest : public SettingsFoldersTest, public ::testing::WithParamInterface<LocationCase> {};

TEST_P(SettingsLocationTest, BesideTheProgramWhenThereOrWritable) {
  const LocationCase& c = GetParam();
  makeFolder(programPath(), true);
  makeFolder(userPath(), true);
  if (c.fileBeside) WriteBytes(programPath() / "KXC2MAP.INI", Bytes(kNoGame));
  if (c.fileInUserFolder) WriteBytes(userPath() / "KXC2MAP.INI", Bytes(kNoGame));
  makeFolder(programPath(), c.programWritable);

  ChildReport report;
  const int exit = AsNobody([&] {
    report.put({{"path", SettingsFilePath(programFolder(), userFolder())}});
    return 0;
  });
  ASSERT_EQ(exit, 0);
  EXPECT_EQ(report.values()["path"], (c.expectBeside ? programFolder() : userFolder()) + "KXC2MAP.INI");
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SettingsLocationTest,
    // A writable folder without a file: tests/editing/settings_location_test.cpp.
    ::testing::Values(LocationCase{"WritableUserFileIgnored", true, false, true, true},
                      LocationCase{"ReadOnlyNoFile", false, false, false, false},
                      LocationCase{"ReadOnlyFileBeside", false, true, false, true},
                      LocationCase{"ReadOnlyUserFile", false, false, true, false},
                      LocationCase{"ReadOnlyBothFiles", false, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsFoldersTest, WithoutAUserFolderBesideTheProgramEvenWhenReadOnly) {
  makeFolder(programPath(), false);
  ChildReport report;
  ASSERT_EQ(AsNobody([&] {
              report.put({{"path", SettingsFilePath(programFolder(), {})}});
              return 0;
            }),
            0);
  EXPECT_EQ(report.values()["path"], programFolder() + "KXC2MAP.INI");
}

// The installed editor: the game located once is remembered in a user folder
// made for it, found at the next start, and nothing is written beside the
// program.
TEST_F(SettingsFoldersTest, InstalledEditorRemembersTheGameInTheUserFolder) {
  makeFolder(programPath(), false);
  makeFolder(configPath(), true);
  makeFolder(gamePath(), true);
  WriteBytes(gamePath() / "Korvex2.exe", Bytes("game"));
  OpenForNobody(gamePath() / "Korvex2.exe");

  ChildReport report;
  const auto startAsNobody = [&](const std::string& run) {
    return AsNobody([&] {
      setenv("XDG_CONFIG_HOME", configPath().c_str(), 1);
      start();
      report.put({{"user folder", editor->userFolder()},
                  {"game folder", editor->gameFolder()},
                  {"asked", std::to_string(shell.openShown.size())}},
                 run);
      return 0;
    });
  };
  choose({gameFolder() + "Korvex2.exe"});
  ASSERT_EQ(startAsNobody("first "), 0);
  shell.openChoices.clear();
  ASSERT_EQ(startAsNobody("second "), 0);

  auto seen = report.values();
  // The test program's own name stands where the installed editor's is.
  const std::string user = seen["first user folder"];
  EXPECT_EQ(fs::path(user).parent_path().parent_path(), configPath());
  EXPECT_EQ(Text(ReadBytes(user + "KXC2MAP.INI")), "[Locations]\r\nKC2=" + gameFolder() + "\r\n");
  EXPECT_EQ(seen["first asked"], "1");
  EXPECT_EQ(seen["second asked"], "0");
  EXPECT_EQ(seen["second game folder"], gameFolder());
  EXPECT_EQ(Tree(programPath()), std::vector<std::string>{});
  EXPECT_EQ(Tree(gamePath()), (std::vector<std::string>{"Korvex2.exe", "UserBMP/", "UserMap/"}));
}

}  // namespace
}  // namespace kxc2::test
