#include "editor/qt_window_thread.h"

#include <QTimer>

namespace kxc2 {

namespace {

class QtWindowTimer final : public WindowTimer {
 public:
  explicit QtWindowTimer(std::function<void()> fire) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(fire));
  }
  void start(std::chrono::milliseconds delay) override { timer_.start(delay); }
  void stop() override { timer_.stop(); }
  bool isActive() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace

std::unique_ptr<WindowTimer> QtWindowThread::makeTimer(std::function<void()> fire) {
  return std::make_unique<QtWindowTimer>(std::move(fire));
}

void QtWindowThread::post(std::function<void()> task) {
  QMetaObject::invokeMethod(&context_, std::move(task), Qt::QueuedConnection);
}

}  // namespace kxc2
