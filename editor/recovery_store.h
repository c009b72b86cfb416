#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/map_file.h"
#include "core/map_grid.h"
#include "editing/recovery_store.h"

namespace kxc2 {

// Keeps the store's copy up to date while the map has unsaved changes: a few
// seconds after the last change, and at least once a minute during long
// work. A copy that cannot be written is reported once until a write
// succeeds again; nothing here ever ends a command.
//
// The map is encoded on the caller's thread in microseconds; the safe write
// itself, whose syncs take tens of milliseconds, runs on one writer thread
// of its own, so editing never waits for the disk. Only the latest snapshot
// waiting there is written.
class RecoveryKeeper : public QObject {
  Q_OBJECT

 public:
  using SourceFile = std::function<QString()>;
  using Report = std::function<void(const QString& message)>;

  static constexpr std::chrono::milliseconds kQuietDelay{3000};
  static constexpr std::chrono::milliseconds kLongestDelay{60000};

  RecoveryKeeper(std::string folder, const MapDocument& document, SourceFile sourceFile, Report report,
                 QObject* parent = nullptr);

  // The map has a change that is not saved.
  void mapChanged();
  // The map is saved, replaced or back at its saved state: the copy goes.
  void mapSaved();
  // What the timers run: hands the map as it is now to the writer.
  void writeNow();
  // Waits for the writer and delivers its report; true when the last write
  // succeeded.
  bool waitForWrites();
  bool writePending() const { return quiet_.isActive(); }
  void setDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds longest);
  // Only while no write runs (after waitForWrites), or for its fixed paths.
  RecoveryStore& store() { return store_; }

 private:
  struct Snapshot {
    std::array<std::uint8_t, kMapFileSize> bytes;
    RecoveryNote note;
  };
  void writeQueued();  // on the writer thread
  void writeFailed(const QString& reason);

  RecoveryStore store_;
  const MapDocument& document_;
  SourceFile sourceFile_;
  Report report_;
  QTimer quiet_;
  QTimer longest_;
  bool failureReported_ = false;
  std::mutex queueMutex_;
  std::optional<Snapshot> queued_;  // guarded by queueMutex_
  bool writing_ = false;            // guarded by queueMutex_
  std::atomic<bool> lastWriteSucceeded_{true};
  QThreadPool writer_;  // last member: its end waits for a running write
};

}  // namespace kxc2
