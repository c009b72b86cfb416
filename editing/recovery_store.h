#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/map_file.h"
#include "core/map_grid.h"

namespace kxc2 {

class LockFile;

// What a recovery copy says about itself besides the map's bytes.
struct RecoveryNote {
  std::string sourceFile;  // UTF-8; empty for an untitled map
  std::chrono::system_clock::time_point time;  // when the copy was written
};

// The note's file: {"source": ..., "time": ...} as the Qt editor wrote it,
// the time in UTC to the millisecond.
std::string RecoveryNoteBytes(const RecoveryNote& note);
// Throws "its note is damaged" for anything but such an object of strings.
RecoveryNote ParseRecoveryNote(std::string_view bytes);
// "yyyy-MM-dd HH:mm:ss" in local time, as the question shows it.
std::string LocalTimeText(std::chrono::system_clock::time_point time);

// This editor's recovery copy in the per-user folder shared by every running
// editor: id.map (the bytes Save would write), id.json (the note) and
// id.lock, which this editor holds while it has a copy, so no other editor
// takes the copy for an abandoned one.
class RecoveryStore {
 public:
  explicit RecoveryStore(std::string folder);
  // The editor ends normally: its copy goes with it.
  ~RecoveryStore();
  RecoveryStore(const RecoveryStore&) = delete;
  RecoveryStore& operator=(const RecoveryStore&) = delete;

  // KxC2Map/recovery in the user's local data folder.
  static std::string DefaultFolder();

  const std::string& folder() const { return folder_; }
  std::string mapPath() const;
  bool hasCopy() const { return lock_ != nullptr; }

  // Writes both files safely, the note first; throws with the reason.
  void write(const MapDocument& document, const RecoveryNote& note);
  void write(const std::array<std::uint8_t, kMapFileSize>& mapBytes, const RecoveryNote& note);
  // Removes the copy and gives up the lock.
  void remove();

 private:
  std::string folder_;
  std::string id_;
  std::unique_ptr<LockFile> lock_;
};

// A copy whose editor no longer runs, locked by this object while it lives
// so that an editor started meanwhile leaves it alone.
class AbandonedCopy {
 public:
  AbandonedCopy(std::string folder, std::string id, std::unique_ptr<LockFile> lock);
  ~AbandonedCopy();

  std::string mapPath() const;
  std::string notePath() const;
  // Reads the map and the note; throws with the reason when either cannot
  // be read, leaving document as it was.
  void read(MapDocument& document, RecoveryNote& note) const;
  void remove();
  // Moves the files into the folder's "unreadable" folder and returns that
  // folder; a file that cannot be moved stays where it is.
  std::string keepAside();

 private:
  std::string folder_;
  std::string id_;
  std::unique_ptr<LockFile> lock_;
};

// The copies in folder whose editors no longer run, newest first. Leftovers
// without a map (a lock, a note) are cleared on the way.
std::vector<std::unique_ptr<AbandonedCopy>> TakeAbandonedCopies(const std::string& folder);

}  // namespace kxc2
