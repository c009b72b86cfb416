#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/map_file.h"
#include "core/map_grid.h"
#include "editing/recovery_store.h"
#include "editing/window_thread.h"

namespace kxc2 {

// Keeps the store's copy up to date while the map has unsaved changes: a few
// seconds after the last change, and at least once a minute during long
// work. A copy that cannot be written is reported once until a write
// succeeds again; nothing here ever ends a command.
//
// The map is encoded on the window thread in microseconds; the safe write
// itself, whose syncs take tens of milliseconds, runs on one writer thread
// of its own, so editing never waits for the disk. Only the latest snapshot
// waiting there is written.
class RecoveryKeeper {
 public:
  using SourceFile = std::function<std::string()>;  // UTF-8
  using Report = std::function<void(const std::string& reason)>;  // on the window thread

  static constexpr std::chrono::milliseconds kQuietDelay{3000};
  static constexpr std::chrono::milliseconds kLongestDelay{60000};

  // window must outlive the keeper.
  RecoveryKeeper(std::string folder, const MapDocument& document, SourceFile sourceFile, Report report,
                 WindowThread& window);
  // Waits for a running write.
  ~RecoveryKeeper();
  RecoveryKeeper(const RecoveryKeeper&) = delete;
  RecoveryKeeper& operator=(const RecoveryKeeper&) = delete;

  // The map has a change that is not saved.
  void mapChanged();
  // The map is saved, replaced or back at its saved state: the copy goes.
  void mapSaved();
  // What the timers run: hands the map as it is now to the writer.
  void writeNow();
  // Waits for the writer and delivers its report; true when the last write
  // succeeded.
  bool waitForWrites();
  bool writePending() const { return quiet_->isActive(); }
  // For timers started from now on.
  void setDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds longest);
  // Only while no write runs (after waitForWrites), or for its fixed paths.
  RecoveryStore& store() { return store_; }

 private:
  struct Snapshot {
    std::array<std::uint8_t, kMapFileSize> bytes;
    RecoveryNote note;
  };
  void writeQueued();  // the writer thread
  void deliverOutcomes();
  void waitUntilIdle(std::unique_lock<std::mutex>& lock);

  RecoveryStore store_;
  const MapDocument& document_;
  SourceFile sourceFile_;
  Report report_;
  WindowThread& window_;
  std::unique_ptr<WindowTimer> quiet_;
  std::unique_ptr<WindowTimer> longest_;
  std::chrono::milliseconds quietDelay_ = kQuietDelay;
  std::chrono::milliseconds longestDelay_ = kLongestDelay;
  bool failureReported_ = false;
  // Lets a posted delivery that arrives after the keeper went do nothing.
  std::shared_ptr<RecoveryKeeper*> self_;

  std::mutex mutex_;
  std::condition_variable wake_;  // a snapshot waits, or the keeper goes
  std::condition_variable idle_;  // a write ended
  // Guarded by mutex_:
  std::optional<Snapshot> queued_;
  bool writing_ = false;
  bool ending_ = false;
  bool lastWriteSucceeded_ = true;
  std::vector<std::optional<std::string>> outcomes_;  // each write's failure, in order
  std::thread writer_;  // last member: started once the rest is ready
};

}  // namespace kxc2
