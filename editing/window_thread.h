#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace kxc2 {

// A single-shot timer of the window thread; used on that thread only.
class WindowTimer {
 public:
  virtual ~WindowTimer() = default;
  // Restarts a running timer.
  virtual void start(std::chrono::milliseconds delay) = 0;
  virtual void stop() = 0;
  virtual bool isActive() const = 0;
};

// What the editing code needs of the thread the shell's windows run on.
class WindowThread {
 public:
  virtual ~WindowThread() = default;
  // fire runs on the window thread; none runs once the timer is gone.
  virtual std::unique_ptr<WindowTimer> makeTimer(std::function<void()> fire) = 0;
  // From any thread: task runs later on the window thread, in posting order.
  virtual void post(std::function<void()> task) = 0;
};

}  // namespace kxc2
