#include "core/file_call_watcher.h"

namespace kxc2 {

std::atomic<FileCallWatcher*> detail::fileCallWatcher{nullptr};

FileCallWatcher* SetFileCallWatcher(FileCallWatcher* watcher) {
  return detail::fileCallWatcher.exchange(watcher, std::memory_order_acq_rel);
}

}  // namespace kxc2
