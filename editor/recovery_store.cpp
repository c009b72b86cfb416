#include "editor/recovery_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSet>
#include <QStandardPaths>
#include <QUuid>
#include <algorithm>
#include <stdexcept>

#include "core/atomic_file.h"
#include "core/map_file.h"

namespace kxc2 {
namespace {

const char* const kMapSuffix = ".map";
const char* const kNoteSuffix = ".json";
const char* const kLockSuffix = ".lock";
const char* const kUnreadableFolder = "unreadable";

QString FilePath(const QString& folder, const QString& id, const char* suffix) {
  return folder + QLatin1Char('/') + id + QLatin1String(suffix);
}

// Only the owner's process counts: a lock is never stale by its age alone,
// however long an editor has been open.
std::unique_ptr<QLockFile> TryLock(const QString& folder, const QString& id) {
  auto lock = std::make_unique<QLockFile>(FilePath(folder, id, kLockSuffix));
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

QByteArray NoteBytes(const RecoveryNote& note) {
  QJsonObject object;
  object.insert(QStringLiteral("source"), note.sourceFile);
  object.insert(QStringLiteral("time"), note.time.toUTC().toString(Qt::ISODateWithMs));
  return QJsonDocument(object).toJson();
}

RecoveryNote ReadNote(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("its note cannot be opened");
  const QJsonDocument json = QJsonDocument::fromJson(file.readAll());
  const QJsonObject object = json.object();
  RecoveryNote note{object.value(QStringLiteral("source")).toString(),
                    QDateTime::fromString(object.value(QStringLiteral("time")).toString(),
                                          Qt::ISODateWithMs)};
  if (!json.isObject() || !object.value(QStringLiteral("source")).isString() || !note.time.isValid())
    throw std::runtime_error("its note is damaged");
  return note;
}

}  // namespace

// ---- This editor's copy -------------------------------------------------

RecoveryStore::RecoveryStore(QString folder)
    : folder_(std::move(folder)), id_(QUuid::createUuid().toString(QUuid::Id128)) {}

RecoveryStore::~RecoveryStore() { remove(); }

QString RecoveryStore::DefaultFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
         QStringLiteral("/recovery");
}

QString RecoveryStore::mapPath() const { return FilePath(folder_, id_, kMapSuffix); }

void RecoveryStore::write(const MapDocument& document, const RecoveryNote& note) {
  write(EncodeMapFile(document), note);
}

void RecoveryStore::write(const std::array<std::uint8_t, kMapFileSize>& mapBytes,
                          const RecoveryNote& note) {
  if (!lock_) {
    if (!QDir().mkpath(folder_))
      throw std::runtime_error("the folder " + QDir::toNativeSeparators(folder_).toStdString() +
                               " cannot be made");
    lock_ = TryLock(folder_, id_);
    if (!lock_)
      throw std::runtime_error("the folder " + QDir::toNativeSeparators(folder_).toStdString() +
                               " cannot be written");
  }
  const QByteArray noteBytes = NoteBytes(note);
  WriteFileAtomically(FilePath(folder_, id_, kNoteSuffix).toStdString(), noteBytes.constData(),
                      std::size_t(noteBytes.size()));
  WriteFileAtomically(mapPath().toStdString(), mapBytes.data(), mapBytes.size());
}

void RecoveryStore::remove() {
  if (!lock_) return;
  QFile::remove(mapPath());
  QFile::remove(FilePath(folder_, id_, kNoteSuffix));
  lock_.reset();  // unlocking removes the lock file
}

// ---- Copies left behind -------------------------------------------------

AbandonedCopy::AbandonedCopy(QString folder, QString id, std::unique_ptr<QLockFile> lock)
    : folder_(std::move(folder)), id_(std::move(id)), lock_(std::move(lock)) {}

AbandonedCopy::~AbandonedCopy() = default;

QString AbandonedCopy::mapPath() const { return FilePath(folder_, id_, kMapSuffix); }
QString AbandonedCopy::notePath() const { return FilePath(folder_, id_, kNoteSuffix); }

void AbandonedCopy::read(MapDocument& document, RecoveryNote& note) const {
  MapDocument copy;
  ReadMapFile(mapPath().toStdString(), copy);
  note = ReadNote(notePath());
  document = copy;
}

void AbandonedCopy::remove() {
  QFile::remove(notePath());
  QFile::remove(mapPath());
}

QString AbandonedCopy::keepAside() {
  const QString aside = folder_ + QLatin1Char('/') + QLatin1String(kUnreadableFolder);
  QDir().mkpath(aside);
  for (const QString& path : {mapPath(), notePath()}) {
    const QString target = aside + QLatin1Char('/') + QFileInfo(path).fileName();
    QFile::remove(target);
    QFile::rename(path, target);
  }
  return aside;
}

std::vector<std::unique_ptr<AbandonedCopy>> TakeAbandonedCopies(const QString& folder) {
  const QDir dir(folder);
  QSet<QString> ids;
  const QStringList patterns = {QStringLiteral("*.map"), QStringLiteral("*.json"), QStringLiteral("*.lock")};
  for (const QFileInfo& entry : dir.entryInfoList(patterns, QDir::Files))
    ids.insert(entry.completeBaseName());

  std::vector<std::unique_ptr<AbandonedCopy>> copies;
  for (const QString& id : ids) {
    std::unique_ptr<QLockFile> lock = TryLock(folder, id);
    if (!lock) continue;  // its editor runs
    auto copy = std::make_unique<AbandonedCopy>(folder, id, std::move(lock));
    if (QFileInfo::exists(copy->mapPath()))
      copies.push_back(std::move(copy));
    else
      copy->remove();  // a crash before the first map was written: no work to offer
  }
  std::sort(copies.begin(), copies.end(), [](const auto& a, const auto& b) {
    return QFileInfo(a->mapPath()).lastModified() > QFileInfo(b->mapPath()).lastModified();
  });
  return copies;
}

// ---- Keeping the copy up to date ----------------------------------------

RecoveryKeeper::RecoveryKeeper(QString folder, const MapDocument& document, SourceFile sourceFile,
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
  Snapshot snapshot{EncodeMapFile(document_), {sourceFile_(), QDateTime::currentDateTimeUtc()}};
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
