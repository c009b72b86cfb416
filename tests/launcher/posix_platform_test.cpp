#include "launcher/posix_platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <sstream>

#include "tests/launcher/game_folder_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

namespace fs = std::filesystem;
using test::ReadText;
using test::WriteScript;

// Polls with short real sleeps; a game that never ends fails the test.
bool WaitUntilEnded(PosixPlatform& platform) {
  for (int i = 0; i < 500; ++i) {
    if (!platform.GameRunning()) return true;
    platform.Sleep(10);
  }
  return false;
}

// Tests that start games run with the game folder as current folder.
class PosixGame : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    for (const char* name : {"own", "game", "bin"}) fs::create_directory(dir_.path() / name);
    fs::current_path(dir_.path() / "game");
  }
  void TearDown() override { fs::current_path(previous_); }

  std::string Own() const { return dir_.file("own"); }
  std::string Game() const { return dir_.file("game"); }
  std::string Bin() const { return dir_.file("bin"); }
  // A game script that records what it sees into record.
  void MakeRecordingGame(const fs::path& path) {
    WriteScript(path,
                "fds=$(readlink /proc/$$/fd/0 /proc/$$/fd/1 /proc/$$/fd/2)\n"
                "sid=$(cut -d' ' -f6 /proc/$$/stat)\n"
                "{ echo \"$0\"; pwd; echo $$; echo \"$sid\"; echo \"$fds\"; } > " +
                    dir_.file("record") + "\n");
  }
  std::string Record() const { return ReadText(dir_.path() / "record"); }

  test::TempDir dir_;

 private:
  fs::path previous_;
};

TEST_F(PosixGame, StartsTheGameDetachedFromTheOwnFolderFirst) {
  MakeRecordingGame(dir_.path() / "own" / "Korvex2.exe");
  MakeRecordingGame(dir_.path() / "game" / "korvex2.exe");
  PosixPlatform platform({Own(), Bin()});
  ASSERT_TRUE(platform.StartGame());
  ASSERT_TRUE(WaitUntilEnded(platform));
  platform.CloseGame();

  std::istringstream record(Record());
  std::string started, folder, pid, session, in, out, err;
  std::getline(record, started);
  std::getline(record, folder);
  std::getline(record, pid);
  std::getline(record, session);
  std::getline(record, in);
  std::getline(record, out);
  std::getline(record, err);
  EXPECT_EQ(started, Own() + "/Korvex2.exe");
  EXPECT_EQ(folder, Game());
  EXPECT_EQ(session, pid);  // its own session
  EXPECT_EQ(in, "/dev/null");
  EXPECT_EQ(out, "/dev/null");
  EXPECT_EQ(err, "/dev/null");
}

TEST_F(PosixGame, SearchesCurrentFolderThenPath) {
  MakeRecordingGame(dir_.path() / "bin" / "korvex2.exe");
  {
    PosixPlatform platform({Own(), Bin()});
    ASSERT_TRUE(platform.StartGame());
    ASSERT_TRUE(WaitUntilEnded(platform));
    EXPECT_EQ(Record().substr(0, Record().find('\n')), Bin() + "/korvex2.exe");
  }
  MakeRecordingGame(dir_.path() / "game" / "KORVEX2.EXE");
  PosixPlatform platform({Own(), Bin()});
  ASSERT_TRUE(platform.StartGame());
  ASSERT_TRUE(WaitUntilEnded(platform));
  EXPECT_EQ(Record().substr(0, Record().find('\n')), Game() + "/KORVEX2.EXE");
}

TEST_F(PosixGame, NoGameOrAnUnstartableOneFailsToStart) {
  PosixPlatform platform({Own(), Bin()});
  EXPECT_FALSE(platform.StartGame());
  EXPECT_FALSE(platform.GameRunning());
  // Neither a script without "#!" nor a Windows program without wine can run.
  test::WriteBytes(dir_.path() / "game" / "korvex2.exe", {'e', 'x', 'i', 't', '\n'});
  fs::permissions(dir_.path() / "game" / "korvex2.exe", fs::perms::owner_all);
  EXPECT_FALSE(platform.StartGame());
  test::WriteBytes(dir_.path() / "game" / "korvex2.exe", {'M', 'Z', 0x90, 0});
  EXPECT_FALSE(platform.StartGame());
}

TEST_F(PosixGame, WindowsProgramStartsUnderWineFromPath) {
  test::WriteBytes(dir_.path() / "game" / "korvex2.exe", {'M', 'Z', 0x90, 0});
  WriteScript(dir_.path() / "bin" / "wine",
              "echo \"$@\" > " + dir_.file("record") + "\nsleep 0.3\n");
  PosixPlatform platform({Own(), Bin()});
  ASSERT_TRUE(platform.StartGame());
  EXPECT_TRUE(platform.GameRunning());
  ASSERT_TRUE(WaitUntilEnded(platform));
  EXPECT_EQ(Record(), Game() + "/korvex2.exe\n");
}

TEST_F(PosixGame, PollSeesTheEndWhateverTheExitCode) {
  for (const char* code : {"0", "3", "259"}) {
    WriteScript(dir_.path() / "game" / "korvex2.exe", std::string("sleep 0.2\nexit ") + code + "\n");
    PosixPlatform platform({Own(), Bin()});
    ASSERT_TRUE(platform.StartGame());
    EXPECT_TRUE(platform.GameRunning()) << code;
    EXPECT_TRUE(WaitUntilEnded(platform)) << code;
    EXPECT_FALSE(platform.GameRunning()) << code;
    platform.CloseGame();
  }
}

struct RenameCase {
  const char* title;
  bool target_folder;
  bool target_file;
  bool target_fifo;  // not an entry that counts, yet still in the way
  bool source_present;
  bool renamed;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const RenameCase& c, std::ostream* out) { *out << c.title; }

class PosixRename : public ::testing::TestWithParam<RenameCase> {};

TEST_P(PosixRename, NeverReplacesAnExistingEntry) {
  const RenameCase& c = GetParam();
  test::TempDir dir;
  if (c.source_present) {
    fs::create_directory(dir.path() / "UserMap");
    test::WriteBytes(dir.path() / "UserMap" / "Map01.shp", {1, 2, 3});
  }
  if (c.target_folder) fs::create_directory(dir.path() / "MAP");
  if (c.target_file) test::WriteBytes(dir.path() / "MAP", {9});
  if (c.target_fifo) {
    ASSERT_EQ(mkfifo(dir.file("MAP").c_str(), 0600), 0);
  }
  const fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  PosixPlatform platform({});
  const bool renamed = platform.Rename("UserMap", "MAP");
  fs::current_path(previous);

  EXPECT_EQ(renamed, c.renamed);
  if (c.renamed) {
    EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"MAP"});
    EXPECT_EQ(test::ReadBytes(dir.path() / "MAP" / "Map01.shp"), (std::vector<std::uint8_t>{1, 2, 3}));
  } else if (c.target_file) {
    EXPECT_EQ(test::ReadBytes(dir.path() / "MAP"), std::vector<std::uint8_t>{9});
  } else if (c.target_fifo) {
    EXPECT_TRUE(fs::is_fifo(dir.path() / "MAP"));
  }
  if (!c.renamed && c.source_present) {
    EXPECT_EQ(test::ReadBytes(dir.path() / "UserMap" / "Map01.shp"), (std::vector<std::uint8_t>{1, 2, 3}));
  }
}

INSTANTIATE_TEST_SUITE_P(All, PosixRename,
                         ::testing::Values(RenameCase{"Free", false, false, false, true, true},
                                           RenameCase{"EmptyFolderInTheWay", true, false, false, true, false},
                                           RenameCase{"FileInTheWay", false, true, false, true, false},
                                           RenameCase{"FifoInTheWay", false, false, true, true, false},
                                           RenameCase{"NoSource", false, false, false, false, false}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST(PosixPlatform, CurrentFolderOfAnyLength) {
  test::TempDir dir;
  for (std::size_t depth : {1u, 30u, 600u}) {
    // Each level adds 10 characters: 30 levels pass 260, 600 pass PATH_MAX.
    const int result = test::RunInChild([&] {
      if (chdir(dir.path().c_str()) != 0) return 2;
      std::string expected = dir.path().string();
      for (std::size_t i = 0; i < depth; ++i) {
        if (mkdir("level_0001", 0700) != 0 && errno != EEXIST) return 3;
        if (chdir("level_0001") != 0) return 4;
        expected += "/level_0001";
      }
      PosixPlatform platform({});
      const bool same = platform.CurrentFolder() == expected;
      // Removed here: paths this long are beyond what removal by full path takes.
      for (std::size_t i = 0; i < depth; ++i) {
        if (chdir("..") != 0 || rmdir("level_0001") != 0) return 5;
      }
      return same ? 0 : 1;
    });
    EXPECT_EQ(result, 0) << depth;
  }
}

TEST(PosixPlatform, WritesEachLineWithCrLf) {
  test::TempDir dir;
  const std::string out = dir.file("out");
  const int result = test::RunInChild([&] {
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0) return 2;
    PosixPlatform platform({});
    return platform.WriteLine("Welcome to KxC2Run") && platform.WriteLine("") ? 0 : 1;
  });
  EXPECT_EQ(result, 0);
  const std::string expected = "Welcome to KxC2Run\r\n\r\n";
  EXPECT_EQ(test::ReadBytes(out), std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

TEST(PosixPlatform, ClosedConsoleFailsTheWrite) {
  const int result = test::RunInChild([] {
    close(STDOUT_FILENO);
    PosixPlatform platform({});
    return platform.WriteLine("Welcome to KxC2Run") ? 1 : 0;
  });
  EXPECT_EQ(result, 0);
}

TEST(PosixPlatform, SleepWaitsAtLeastTheTimeAsked) {
  PosixPlatform platform({});
  const auto began = std::chrono::steady_clock::now();
  platform.Sleep(120);
  EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(120));
}

TEST(PosixPlatform, OwnFolderIsTheExecutablesFolder) {
  EXPECT_EQ(OwnFolder(nullptr), fs::canonical("/proc/self/exe").parent_path().string());
}

}  // namespace
}  // namespace kxc2
