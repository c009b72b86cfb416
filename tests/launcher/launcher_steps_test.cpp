#include "launcher/launcher_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/launcher/scripted_platform.h"

namespace kxc2::test {
namespace {

using Texts = std::vector<std::string>;
using Renames = std::vector<std::pair<std::string, std::string>>;

const std::string kFolder = "C:\\Games\\KC2";
const std::string kCurrent = "Current directory is C:\\Games\\KC2";

Texts WithClosing(Texts texts) {
  texts.insert(texts.begin(), {"Welcome to KxC2Run", "", kCurrent});
  texts.push_back("This window will self-destruct in 3 seconds.");
  return texts;
}

struct PathCase {
  const char* name;
  bool map_exists;
  bool user_map_exists;
  bool rename_fails;
  bool start_fails;
  bool rename_back_fails;
  Texts expected;
  Renames renames;
  bool started;
};
// Without it gtest prints the raw bytes, padding and all, which valgrind
// rightly calls uninitialised.
void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

class LauncherPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(LauncherPaths, WritesExactLinesAndEndsWithZero) {
  const PathCase& c = GetParam();
  ScriptedPlatform platform;
  if (c.map_exists) platform.entries["MAP"] = "map";
  if (c.user_map_exists) platform.entries["USERMAP"] = "UserMap";
  if (c.rename_fails) platform.failing_renames.insert({"UserMap", "MAP"});
  if (c.rename_back_fails) platform.failing_renames.insert({"MAP", "UserMap"});
  platform.start_succeeds = !c.start_fails;

  EXPECT_EQ(RunLauncher(platform), 0);
  EXPECT_EQ(platform.Texts(), WithClosing(c.expected));
  EXPECT_EQ(platform.renames, c.renames);
  EXPECT_EQ(platform.started, c.started);
  EXPECT_EQ(platform.closed, c.started);
  // The closing pause is the last thing done, on every path.
  ASSERT_FALSE(platform.calls.empty());
  EXPECT_EQ(platform.calls.back(), "sleep 3000");
  // Both tests come first, on the folder read, whatever their answers.
  ASSERT_GE(platform.calls.size(), 6u);
  EXPECT_EQ(platform.calls[2], "current folder");
  EXPECT_EQ(platform.calls[4], "find " + kFolder + " MAP");
  EXPECT_EQ(platform.calls[5], "find " + kFolder + " USERMAP");
}

const PathCase kPathCases[] = {
    {"Success", false, true, false, false, false,
     {"Renamed USERMAP to MAP", "Attempting to launch KxC2", "KxC2 is starting...",
      "Detected KxC2 shutdown", "Renamed MAP to USERMAP"},
     {{"UserMap", "MAP"}, {"MAP", "UserMap"}}, true},
    {"MapAndUserMap", true, true, false, false, false,
     {"Error, found an existing MAP directory"}, {}, false},
    {"MapOnly", true, false, false, false, false,
     {"Error, found an existing MAP directory"}, {}, false},
    {"Neither", false, false, false, false, false, {"Error, did not find USERMAP"}, {}, false},
    {"RenameFails", false, true, true, false, false,
     {"Error, could not rename USERMAP"}, {{"UserMap", "MAP"}}, false},
    {"StartFails", false, true, false, true, false,
     {"Renamed USERMAP to MAP", "Attempting to launch KxC2", "Error, KxC2 failed to launch",
      "Renamed MAP to USERMAP"},
     {{"UserMap", "MAP"}, {"MAP", "UserMap"}}, false},
    {"RenameBackFails", false, true, false, false, true,
     {"Renamed USERMAP to MAP", "Attempting to launch KxC2", "KxC2 is starting...",
      "Detected KxC2 shutdown", "Error, could not rename MAP to USERMAP"},
     {{"UserMap", "MAP"}, {"MAP", "UserMap"}}, true},
    {"StartAndRenameBackFail", false, true, false, true, true,
     {"Renamed USERMAP to MAP", "Attempting to launch KxC2", "Error, KxC2 failed to launch",
      "Error, could not rename MAP to USERMAP"},
     {{"UserMap", "MAP"}, {"MAP", "UserMap"}}, false},
};

INSTANTIATE_TEST_SUITE_P(All, LauncherPaths, ::testing::ValuesIn(kPathCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LauncherSteps, SuccessfulRunCallsThePlatformInOrder) {
  ScriptedPlatform platform;
  platform.entries["USERMAP"] = "USERMAP";
  platform.game_runs_for = 1000;
  ASSERT_EQ(RunLauncher(platform), 0);
  const std::vector<std::string> expected = {
      "write Welcome to KxC2Run",
      "write ",
      "current folder",
      "write " + kCurrent,
      "find " + kFolder + " MAP",
      "find " + kFolder + " USERMAP",
      "rename USERMAP MAP",
      "write Renamed USERMAP to MAP",
      "write Attempting to launch KxC2",
      "start",
      "write KxC2 is starting...",
      "poll running",
      "sleep 2000",
      "poll ended",
      "sleep 2000",
      "close",
      "write Detected KxC2 shutdown",
      "rename MAP USERMAP",
      "write Renamed MAP to USERMAP",
      "write This window will self-destruct in 3 seconds.",
      "sleep 3000",
  };
  EXPECT_EQ(platform.calls, expected);
}

// The poll reads the state, sleeps 2 s and only then tests what it read.
struct PollCase {
  std::uint32_t game_runs_for;
  std::uint32_t detected_at;
  int polls;
};

class LauncherPoll : public ::testing::TestWithParam<PollCase> {};

TEST_P(LauncherPoll, ReportsTheEndAfterTheSleepFollowingTheFirstEndedReading) {
  const PollCase& c = GetParam();
  ScriptedPlatform platform;
  platform.entries["USERMAP"] = "USERMAP";
  platform.game_runs_for = c.game_runs_for;
  ASSERT_EQ(RunLauncher(platform), 0);

  EXPECT_EQ(platform.polls, c.polls);
  std::vector<std::uint32_t> sleeps(static_cast<std::size_t>(c.polls), 2000);
  sleeps.push_back(3000);
  EXPECT_EQ(platform.sleeps, sleeps);
  std::uint32_t starting_at = 99999;
  std::uint32_t detected_at = 99999;
  std::uint32_t closing_at = 99999;
  for (const auto& line : platform.lines) {
    if (line.text == "KxC2 is starting...") starting_at = line.at;
    if (line.text == "Detected KxC2 shutdown") detected_at = line.at;
    if (line.text == "This window will self-destruct in 3 seconds.") closing_at = line.at;
  }
  EXPECT_EQ(starting_at, 0u);
  EXPECT_EQ(detected_at, c.detected_at);
  EXPECT_EQ(closing_at, c.detected_at);
  EXPECT_EQ(platform.now, c.detected_at + 3000);
}

INSTANTIATE_TEST_SUITE_P(All, LauncherPoll,
                         ::testing::Values(PollCase{0, 2000, 1}, PollCase{1, 4000, 2},
                                           PollCase{1000, 4000, 2}, PollCase{2000, 4000, 2},
                                           PollCase{2001, 6000, 3}, PollCase{5000, 8000, 4},
                                           PollCase{60000, 62000, 31}));

// A failed console write: before the rename the launcher stops at once; after
// it, a started game is still waited for and the folder still renamed back.
struct ConsoleCase {
  int failing_write;
  bool searched;
  bool started;
  bool renamed_back;
  bool ends_on_the_failed_write;
};

class LauncherConsoleFailure : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(LauncherConsoleFailure, EndsWithOneAndLeavesTheFolderAsFound) {
  const ConsoleCase& c = GetParam();
  ScriptedPlatform platform;
  platform.entries["USERMAP"] = "UserMap";
  platform.game_runs_for = 3000;
  platform.failing_write = c.failing_write;

  EXPECT_EQ(RunLauncher(platform), 1);
  // Nothing is written after the failure, and there is no closing pause.
  EXPECT_EQ(platform.lines.size(), static_cast<std::size_t>(c.failing_write));
  EXPECT_EQ(platform.calls.back().rfind("failed write ", 0) == 0, c.ends_on_the_failed_write);
  for (std::uint32_t pause : platform.sleeps) EXPECT_EQ(pause, 2000u);
  EXPECT_EQ(platform.started, c.started);
  EXPECT_EQ(platform.closed, c.started);
  if (c.started) {
    EXPECT_EQ(platform.polls, 3);
    EXPECT_EQ(platform.now, 6000u);
  }
  Renames renames;
  if (c.searched && c.renamed_back) renames = {{"UserMap", "MAP"}, {"MAP", "UserMap"}};
  EXPECT_EQ(platform.renames, renames);
  const bool searched = std::find(platform.calls.begin(), platform.calls.end(),
                                  "find " + kFolder + " MAP") != platform.calls.end();
  EXPECT_EQ(searched, c.searched);
}

// Writes of a full run: 0 welcome, 1 empty line, 2 folder, 3 renamed,
// 4 launching, 5 starting, 6 shutdown, 7 renamed back, 8 closing.
INSTANTIATE_TEST_SUITE_P(All, LauncherConsoleFailure,
                         ::testing::Values(ConsoleCase{0, false, false, false, true},
                                           ConsoleCase{1, false, false, false, true},
                                           ConsoleCase{2, false, false, false, true},
                                           ConsoleCase{3, true, false, true, false},
                                           ConsoleCase{4, true, false, true, false},
                                           ConsoleCase{5, true, true, true, false},
                                           ConsoleCase{6, true, true, true, false},
                                           ConsoleCase{7, true, true, true, true},
                                           ConsoleCase{8, true, true, true, true}));

struct ErrorLineFailureCase {
  const char* name;
  bool map_exists;
  bool user_map_exists;
  bool rename_fails;
  bool start_fails;
  Renames renames;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const ErrorLineFailureCase& c, std::ostream* out) { *out << c.name; }

class LauncherErrorLineFailure : public ::testing::TestWithParam<ErrorLineFailureCase> {};

TEST_P(LauncherErrorLineFailure, EndsWithOneWithoutClosingLine) {
  const ErrorLineFailureCase& c = GetParam();
  ScriptedPlatform platform;
  if (c.map_exists) platform.entries["MAP"] = "MAP";
  if (c.user_map_exists) platform.entries["USERMAP"] = "UserMap";
  if (c.rename_fails) platform.failing_renames.insert({"UserMap", "MAP"});
  platform.start_succeeds = !c.start_fails;
  // The error line is the first write after the three opening ones, or the
  // sixth when the launch failed.
  platform.failing_write = c.start_fails ? 5 : 3;

  EXPECT_EQ(RunLauncher(platform), 1);
  EXPECT_TRUE(platform.sleeps.empty());
  EXPECT_EQ(platform.calls.back().rfind("failed write Error, ", 0) == 0, !c.start_fails);
  EXPECT_EQ(platform.renames, c.renames);
  EXPECT_FALSE(platform.started);
}

INSTANTIATE_TEST_SUITE_P(
    All, LauncherErrorLineFailure,
    ::testing::Values(
        ErrorLineFailureCase{"MapExists", true, true, false, false, {}},
        ErrorLineFailureCase{"NoUserMap", false, false, false, false, {}},
        ErrorLineFailureCase{"RenameFails", false, true, true, false, {{"UserMap", "MAP"}}},
        ErrorLineFailureCase{
            "LaunchFails", false, true, false, true, {{"UserMap", "MAP"}, {"MAP", "UserMap"}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kxc2::test
