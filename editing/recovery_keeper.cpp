#include "editing/recovery_keeper.h"

#include <exception>
#include <utility>

namespace kxc2 {

RecoveryKeeper::RecoveryKeeper(std::string folder, const MapDocument& document, SourceFile sourceFile,
                               Report report, WindowThread& window)
    : store_(std::move(folder)),
      document_(document),
      sourceFile_(std::move(sourceFile)),
      report_(std::move(report)),
      window_(window),
      quiet_(window.makeTimer([this] { writeNow(); })),
      longest_(window.makeTimer([this] { writeNow(); })),
      self_(std::make_shared<RecoveryKeeper*>(this)),
      writer_([this] { writeQueued(); }) {}

RecoveryKeeper::~RecoveryKeeper() {
  {
    const std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  writer_.join();
}

void RecoveryKeeper::setDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds longest) {
  quietDelay_ = quiet;
  longestDelay_ = longest;
}

void RecoveryKeeper::mapChanged() {
  quiet_->start(quietDelay_);
  if (!longest_->isActive()) longest_->start(longestDelay_);
}

void RecoveryKeeper::mapSaved() {
  quiet_->stop();
  longest_->stop();
  std::unique_lock lock(mutex_);
  queued_.reset();
  waitUntilIdle(lock);  // a write in flight must not bring the copy back
  lock.unlock();
  store_.remove();
}

void RecoveryKeeper::writeNow() {
  quiet_->stop();
  longest_->stop();
  Snapshot snapshot{EncodeMapFile(document_), {sourceFile_(), std::chrono::system_clock::now()}};
  {
    const std::lock_guard lock(mutex_);
    queued_ = std::move(snapshot);
  }
  wake_.notify_one();
}

void RecoveryKeeper::writeQueued() {
  for (;;) {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return queued_ || ending_; });
    if (!queued_) return;  // a snapshot still waiting is written before the end
    const Snapshot snapshot = std::move(*queued_);
    queued_.reset();
    writing_ = true;
    lock.unlock();
    std::optional<std::string> failure;
    try {
      store_.write(snapshot.bytes, snapshot.note);
    } catch (const std::exception& error) {
      failure = error.what();
    }
    lock.lock();
    writing_ = false;
    lastWriteSucceeded_ = !failure;
    outcomes_.push_back(std::move(failure));
    lock.unlock();
    idle_.notify_all();
    window_.post([self = std::weak_ptr<RecoveryKeeper*>(self_)] {
      if (const auto keeper = self.lock()) (*keeper)->deliverOutcomes();
    });
  }
}

void RecoveryKeeper::deliverOutcomes() {
  std::vector<std::optional<std::string>> outcomes;
  {
    const std::lock_guard lock(mutex_);
    outcomes.swap(outcomes_);
  }
  for (auto& failure : outcomes) {
    if (!failure) {
      failureReported_ = false;
    } else if (!failureReported_) {
      failureReported_ = true;
      report_(*failure);
    }
  }
}

void RecoveryKeeper::waitUntilIdle(std::unique_lock<std::mutex>& lock) {
  idle_.wait(lock, [this] { return !queued_ && !writing_; });
}

bool RecoveryKeeper::waitForWrites() {
  std::unique_lock lock(mutex_);
  waitUntilIdle(lock);
  const bool succeeded = lastWriteSucceeded_;
  lock.unlock();
  deliverOutcomes();
  return succeeded;
}

}  // namespace kxc2
