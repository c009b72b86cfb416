#pragma once

#include <atomic>

// GoogleTest's Notification without std::mutex, which MinGW's win32 thread
// model lacks; only GoogleTest's own thread tests wait on one.
namespace testing::internal {

class Notification {
 public:
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal
