#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/map_file.h"
#include "core/map_grid.h"

class QLockFile;

namespace kxc2 {

// What a recovery copy says about itself besides the map's bytes.
struct RecoveryNote {
  QString sourceFile;  // the file the map came from; empty for an untitled map
  QDateTime time;      // when the copy was written
};

// This editor's recovery copy in the per-user folder shared by every running
// editor: id.map (the bytes Save would write), id.json (the note) and
// id.lock, which this editor holds while it has a copy, so no other editor
// takes the copy for an abandoned one.
class RecoveryStore {
 public:
  explicit RecoveryStore(QString folder);
  // The editor ends normally: its copy goes with it.
  ~RecoveryStore();
  RecoveryStore(const RecoveryStore&) = delete;
  RecoveryStore& operator=(const RecoveryStore&) = delete;

  // The recovery folder under the user's data folder.
  static QString DefaultFolder();

  const QString& folder() const { return folder_; }
  QString mapPath() const;
  bool hasCopy() const { return lock_ != nullptr; }

  // Writes both files safely, the note first; throws with the reason.
  void write(const MapDocument& document, const RecoveryNote& note);
  void write(const std::array<std::uint8_t, kMapFileSize>& mapBytes, const RecoveryNote& note);
  // Removes the copy and gives up the lock.
  void remove();

 private:
  QString folder_;
  QString id_;
  std::unique_ptr<QLockFile> lock_;
};

// A copy whose editor no longer runs, locked by this object while it lives
// so that an editor started meanwhile leaves it alone.
class AbandonedCopy {
 public:
  AbandonedCopy(QString folder, QString id, std::unique_ptr<QLockFile> lock);
  ~AbandonedCopy();

  QString mapPath() const;
  QString notePath() const;
  // Reads the map and the note; throws with the reason when either cannot
  // be read, leaving document as it was.
  void read(MapDocument& document, RecoveryNote& note) const;
  void remove();
  // Moves the files into the folder's "unreadable" folder and returns that
  // folder; a file that cannot be moved stays where it is.
  QString keepAside();

 private:
  QString folder_;
  QString id_;
  std::unique_ptr<QLockFile> lock_;
};

// The copies in folder whose editors no longer run, newest first. Leftovers
// without a map (a lock, a note) are cleared on the way.
std::vector<std::unique_ptr<AbandonedCopy>> TakeAbandonedCopies(const QString& folder);

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

  RecoveryKeeper(QString folder, const MapDocument& document, SourceFile sourceFile, Report report,
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
