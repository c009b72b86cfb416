#include "editor/recovery_store.h"

#include <QCoreApplication>

namespace kxc2 {

// ---- Keeping the copy up to date ----------------------------------------

RecoveryKeeper::RecoveryKeeper(std::string folder, const MapDocument& document, SourceFile sourceFile,
                               Report report, QObject* parent)
    : QObject(parent),
      store_(std::move(folder)),
      document_(document),
      sourceFile_(std::move(sourceFile)),
      report_(std::move(report)) {
  for (QTimer* timer : {&quiet_, &longest_}) {
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &RecoveryKeeper::writeNow);
  }
  setDelays(kQuietDelay, kLongestDelay);
  writer_.setMaxThreadCount(1);
}

void RecoveryKeeper::setDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds longest) {
  quiet_.setInterval(quiet);
  longest_.setInterval(longest);
}

void RecoveryKeeper::mapChanged() {
  quiet_.start();
  if (!longest_.isActive()) longest_.start();
}

void RecoveryKeeper::mapSaved() {
  quiet_.stop();
  longest_.stop();
  {
    const std::lock_guard lock(queueMutex_);
    queued_.reset();
  }
  writer_.waitForDone();  // a write in flight must not bring the copy back
  store_.remove();
}

void RecoveryKeeper::writeNow() {
  quiet_.stop();
  longest_.stop();
  Snapshot snapshot{EncodeMapFile(document_), {sourceFile_().toStdString(), std::chrono::system_clock::now()}};
  const std::lock_guard lock(queueMutex_);
  queued_ = std::move(snapshot);
  if (writing_) return;  // the running write picks it up next
  writing_ = true;
  writer_.start([this] { writeQueued(); });
}

void RecoveryKeeper::writeQueued() {
  for (;;) {
    Snapshot snapshot;
    {
      const std::lock_guard lock(queueMutex_);
      if (!queued_) {
        writing_ = false;
        return;
      }
      snapshot = std::move(*queued_);
      queued_.reset();
    }
    try {
      store_.write(snapshot.bytes, snapshot.note);
      lastWriteSucceeded_ = true;
      QMetaObject::invokeMethod(this, [this] { failureReported_ = false; }, Qt::QueuedConnection);
    } catch (const std::exception& error) {
      lastWriteSucceeded_ = false;
      const QString reason = QString::fromStdString(error.what());
      QMetaObject::invokeMethod(this, [this, reason] { writeFailed(reason); }, Qt::QueuedConnection);
    }
  }
}

void RecoveryKeeper::writeFailed(const QString& reason) {
  if (failureReported_) return;
  failureReported_ = true;
  report_(reason);
}

bool RecoveryKeeper::waitForWrites() {
  writer_.waitForDone();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  return lastWriteSucceeded_;
}

}  // namespace kxc2
