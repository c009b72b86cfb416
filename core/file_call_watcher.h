#pragma once

#include <atomic>
#include <cerrno>
#include <string_view>

// A seam for tests under the file calls that make a safe write durable. No
// watcher is ever set outside tests, so each call pays one load and a branch.

namespace kxc2 {

enum class FileCall { Write, SyncFile, Move, SyncFolder };

class FileCallWatcher {
 public:
  virtual ~FileCallWatcher() = default;
  // Before the call is made; path is the target of a move or the folder of
  // a sync, empty otherwise. A nonzero errno fails the call with it unmade.
  virtual int before(FileCall call, std::string_view path) = 0;
};

// nullptr removes the watcher; returns the one set before.
FileCallWatcher* SetFileCallWatcher(FileCallWatcher* watcher);

namespace detail {
extern std::atomic<FileCallWatcher*> fileCallWatcher;
}

// Whether a watcher fails the call; if so errno is set as the call would.
inline bool WatcherFails(FileCall call, std::string_view path = {}) {
  FileCallWatcher* const watcher = detail::fileCallWatcher.load(std::memory_order_acquire);
  if (!watcher) return false;
  const int err = watcher->before(call, path);
  if (err != 0) errno = err;
  return err != 0;
}

}  // namespace kxc2
