// When the keeper writes the recovery copy and how it reports failures, on a
// clock the test moves.
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <thread>

#include "editing/recovery_keeper.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using std::chrono::milliseconds;

class FakeWindow final : public WindowThread {
 public:
  struct Timer final : WindowTimer {
    Timer(FakeWindow& window, std::function<void()> fire) : window(window), fire(std::move(fire)) {}
    void start(milliseconds delay) override { due = window.now + delay; }
    void stop() override { due.reset(); }
    bool isActive() const override { return due.has_value(); }
    FakeWindow& window;
    std::function<void()> fire;
    std::optional<milliseconds> due;
  };
  std::unique_ptr<WindowTimer> makeTimer(std::function<void()> fire) override {
    timers.push_back(new Timer(*this, std::move(fire)));
    return std::unique_ptr<WindowTimer>(timers.back());
  }
  void post(std::function<void()> task) override {
    const std::lock_guard lock(mutex);
    posted.push_back(std::move(task));
  }
  bool hasPosted() {
    const std::lock_guard lock(mutex);
    return !posted.empty();
  }
  void runPosted() {
    std::vector<std::function<void()>> tasks;
    {
      const std::lock_guard lock(mutex);
      tasks.swap(posted);
    }
    for (const auto& task : tasks) task();
  }
  // Fires, in time order, each timer due by `to`.
  void advanceTo(milliseconds to) {
    for (Timer* next = nullptr;; next = nullptr) {
      for (Timer* timer : timers)
        if (timer->due && *timer->due <= to && (!next || *timer->due < *next->due)) next = timer;
      if (!next) break;
      now = *next->due;
      next->due.reset();
      next->fire();
    }
    now = to;
  }
  milliseconds now{0};
  std::vector<Timer*> timers;  // owned by the keeper
  std::mutex mutex;
  std::vector<std::function<void()>> posted;
};

TEST(RecoveryKeeperTest, WrittenAfterAQuietSpellOrAtTheLatestAfterTheLongestDelay) {
  std::vector<int> neverQuiet;  // a change every 2 s
  for (int at = 0; at < 60000; at += 2000) neverQuiet.push_back(at);
  const struct {
    std::vector<int> changes;  // ms
    int notYet, written;
  } cases[] = {{{0}, 2999, 3000}, {{0, 2000}, 4999, 5000}, {neverQuiet, 59999, 60000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    test::TempDir dir;
    MapDocument document;
    FakeWindow window;
    RecoveryKeeper keeper(dir.file("recovery"), document, [] { return ""; }, [](const std::string&) {}, window);
    for (int at : c.changes) {
      window.advanceTo(milliseconds(at));
      document.grid.setTerrain(1, 1, at % 7);
      keeper.mapChanged();
    }
    window.advanceTo(milliseconds(c.notYet));
    keeper.waitForWrites();
    EXPECT_FALSE(keeper.store().hasCopy());
    window.advanceTo(milliseconds(c.written));
    EXPECT_TRUE(keeper.waitForWrites());
    ASSERT_TRUE(keeper.store().hasCopy());
    const auto bytes = EncodeMapFile(document);
    EXPECT_EQ(test::ReadBytes(keeper.store().mapPath()), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  }
}

TEST(RecoveryKeeperTest, AFailureIsReportedOnTheWindowThreadOnceUntilAWriteSucceeds) {
  test::TempDir dir;
  const std::string folder = dir.file("recovery");
  MapDocument document;
  FakeWindow window;
  std::vector<std::string> reports;
  const auto windowThread = std::this_thread::get_id();
  RecoveryKeeper keeper(folder, document, [] { return ""; }, [&](const std::string& reason) {
    EXPECT_EQ(std::this_thread::get_id(), windowThread);
    reports.push_back(reason);
  }, window);
  const struct {
    bool blocked;  // a file where the folder goes
    std::size_t reports;
  } steps[] = {{true, 1}, {true, 1}, {false, 1}, {true, 2}, {true, 2}};
  for (const auto& step : steps) {
    SCOPED_TRACE(&step - steps);
    std::filesystem::remove_all(folder);
    if (step.blocked) test::WriteBytes(folder, {});
    keeper.writeNow();
    if (&step == steps) {  // the first report waits for the window thread
      for (int tries = 0; tries < 5000 && !window.hasPosted(); ++tries) std::this_thread::sleep_for(milliseconds(1));
      EXPECT_TRUE(reports.empty());
      window.runPosted();
      EXPECT_EQ(reports.size(), 1);
    }
    EXPECT_EQ(keeper.waitForWrites(), !step.blocked);
    EXPECT_EQ(reports.size(), step.reports);
  }
  EXPECT_EQ(reports[0], "the folder " + folder + " cannot be made");
}

}  // namespace
}  // namespace kxc2
