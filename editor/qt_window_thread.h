#pragma once

#include <QObject>

#include "editing/window_thread.h"

namespace kxc2 {

// The window thread as Qt runs it: QTimers and queued calls. Made on the
// GUI thread; what is posted after it went is dropped.
class QtWindowThread final : public WindowThread {
 public:
  std::unique_ptr<WindowTimer> makeTimer(std::function<void()> fire) override;
  void post(std::function<void()> task) override;

 private:
  QObject context_;  // lives on the thread that made this object
};

}  // namespace kxc2
