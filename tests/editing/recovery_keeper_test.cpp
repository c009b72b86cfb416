// When the keeper writes the copy and how it reports failures, on a clock the test moves.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "editing/recovery_keeper.h"
#include "tests/editing/scripted_shell.h"

namespace kxc2 {
namespace {

using std::chrono::milliseconds;

TEST(RecoveryKeeperTest, ReportsAFailureOnceUntilASuccessAndWritesAfterAQuietSpellOrTheLongestDelay) {
  test::TempDir dir;
  const std::string folder = dir.file("recovery");
  MapDocument document;
  test::ScriptedWindow window;
  std::vector<std::string> reports;
  RecoveryKeeper keeper(folder, document, [] { return ""; }, [&](const std::string& reason) {
    reports.push_back(std::this_thread::get_id() == window.thread ? reason : "off the window thread");
  }, window);
  const struct { bool blocked; std::size_t reports; } steps[] = {{true, 1}, {true, 1}, {false, 1}, {true, 2}, {true, 2}};
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    keeper.mapSaved(), std::filesystem::remove_all(folder);  // Windows removes no file held open
    if (step.blocked) test::WriteBytes(folder, {});  // a file where the folder goes
    keeper.writeNow();
    ASSERT_TRUE(window.posts.try_acquire_for(milliseconds(5000)));
    window.runPosted();
    EXPECT_EQ(reports.size(), step.reports);  // through post(), before any wait
    EXPECT_EQ(keeper.waitForWrites(), !step.blocked);
  }
  EXPECT_EQ(reports[0], "the folder " + folder + " cannot be made");
  const struct { int changesFrom, changeEvery, changesUntil, noCopyAt, copyAt; } cases[] = {
      {0, 1, 1, 2999, 3000}, {5000, 2000, 9000, 9999, 10000}, {20000, 2000, 80000, 79999, 80000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.copyAt);
    keeper.mapSaved(), std::filesystem::remove_all(folder);  // the last step's file too
    for (int at = c.changesFrom; at < c.changesUntil; at += c.changeEvery) window.advanceTo(milliseconds(at)), keeper.mapChanged();
    window.advanceTo(milliseconds(c.noCopyAt));
    EXPECT_FALSE(keeper.waitForWrites() && keeper.store().hasCopy());
    window.advanceTo(milliseconds(c.copyAt));
    EXPECT_TRUE(keeper.waitForWrites() && keeper.store().hasCopy());
  }
}

}  // namespace
}  // namespace kxc2
