// The recovery store's files as the Qt editor wrote them: QLockFile's
// locks, the note's JSON, the folder and the times.
#include <QCoreApplication>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

#include "editing/lock_file.h"
#include "editing/recovery_store.h"
#include "tests/support/child_process.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using std::chrono::milliseconds;

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// bytes with its line `index` replaced; lines past `keep` dropped.
std::string WithLine(const std::string& bytes, std::size_t index, const std::string& line, std::size_t keep = 5) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = bytes.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(bytes.substr(at, end - at));
  lines.at(index) = line;
  std::string out;
  for (std::size_t i = 0; i < keep; ++i) out += lines.at(i) + '\n';
  return out;
}

TEST(LockFileTest, JudgesQLockFilesAsQtDoesAndQtJudgesItsOwn) {
  test::TempDir dir;
  const std::string path = dir.file("id.lock");
  std::string live;
  const auto qtLock = [&](bool die) {
    QLockFile lock(QString::fromStdString(path));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) return 1;
    if (die) ::kill(::getpid(), SIGKILL);
    live = Text(test::ReadBytes(path));
    return 0;
  };
  ASSERT_EQ(qtLock(false), 0);
  ASSERT_EQ(test::RunInChild([&] { return qtLock(true); }), -1);
  const std::string dead = Text(test::ReadBytes(path));
  const struct {
    const char* owner;
    std::string bytes;
    bool taken;
  } cases[] = {{"this process", live, false},
               {"a killed process", dead, true},
               {"another machine", WithLine(dead, 3, "0123456789abcdef0123456789abcdef"), false},
               {"a running process before a restart", WithLine(live, 4, "0000-1111"), true},
               {"a pid now running another program", WithLine(live, 1, "another-program"), true},
               {"old format, this host", WithLine(dead, 0, "+" + dead.substr(0, dead.find('\n')), 3), true},
               {"old format, no host", WithLine(dead, 2, "", 3), true},
               {"old format, another host", WithLine(dead, 2, "elsewhere", 3), false},
               {"old format, running", WithLine(live, 2, "", 3), false},
               {"nobody", "", false},
               {"pid 0", WithLine(dead, 0, "0"), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.owner);
    test::WriteBytes(path, {c.bytes.begin(), c.bytes.end()});
    {
      const auto lock = LockFile::TryLock(path);
      EXPECT_EQ(lock != nullptr, c.taken);
      // Taken, it says what QLockFile says for this process; else it stays.
      EXPECT_EQ(Text(test::ReadBytes(path)), c.taken ? live : c.bytes);
      if (lock) {
        QLockFile qt(QString::fromStdString(path));
        qint64 pid = 0;
        EXPECT_FALSE(qt.tryLock(0));
        EXPECT_TRUE(qt.getLockInfo(&pid, nullptr, nullptr) && pid == ::getpid());
      }
    }
    EXPECT_EQ(std::filesystem::exists(path), !c.taken);
    EXPECT_FALSE(std::filesystem::exists(path + ".rmlock"));
  }
}

RecoveryNote Note(std::string source, std::int64_t ms) {
  return {std::move(source), std::chrono::system_clock::time_point(milliseconds(ms))};
}

TEST(RecoveryNoteTest, WrittenAsQJsonDocumentDid) {
  EXPECT_EQ(RecoveryNoteBytes(Note("", 1767323045000)),
            "{\n    \"source\": \"\",\n    \"time\": \"2026-01-02T03:04:05.000Z\"\n}\n");
  std::string every;
  for (int c = 1; c < 0x80; ++c) every += char(c);
  for (const auto& note : {Note(every + "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", -1), Note("/m/a.map", 4102444799999)}) {
    QJsonObject object;
    object.insert("source", QString::fromStdString(note.sourceFile));
    const auto ms = note.time.time_since_epoch() / milliseconds(1);
    object.insert("time", QDateTime::fromMSecsSinceEpoch(ms).toUTC().toString(Qt::ISODateWithMs));
    EXPECT_EQ(RecoveryNoteBytes(note), QJsonDocument(object).toJson().toStdString());
    const RecoveryNote read = ParseRecoveryNote(RecoveryNoteBytes(note));
    EXPECT_EQ(read.sourceFile, note.sourceFile);
    EXPECT_EQ(read.time, note.time);
  }
}

TEST(RecoveryNoteTest, ReadsEscapesAndTimeFormsAndReportsDamage) {
  ::setenv("TZ", "EST5", 1);  // 5 hours behind UTC, no summer time
  ::tzset();
  const std::string at = R"(, "time": "2026-01-02T03:04:05.000Z"})";
  const struct {
    std::string json;
    const char* source;  // nullptr: damaged
    std::int64_t ms = 1767323045000;
  } cases[] = {
      {R"({"source": "")" + at, ""},
      {R"({"source": "a\u00E9\ud83d\ude00\/\"\\\b\f\n\r\t")" + at, "a\xc3\xa9\xf0\x9f\x98\x80/\"\\\b\f\n\r\t"},
      {"\xef\xbb\xbf \r\n{\"x\":\"y\",\"source\":\"a\",\"source\":\"b\"" + at + "\n", "b"},
      {R"({"time": "2026-01-02T03:04:05.5z", "source": "c"})", "c", 1767323045500},
      {R"({"source": "", "time": "2026-01-02 04:04:05,1234+01:00"})", "", 1767323045123},
      {R"({"source": "", "time": "2026-01-01T22:04:05"})", "", 1767323045000},  // local time
      {R"({"source": "", "time": "2026-01-02T03:04-0130"})", "", 1767328440000},
      {R"({"source": "", "time": "2026-01-01T24:00:00.000Z"})", "", 1767312000000},
      {R"({"source": 5})", nullptr}, {R"({"source": "a"})", nullptr}, {R"({"time": "2026-01-02T03:04:05Z"})", nullptr},
      {R"({"source": "", "time": "2026-02-29T03:04:05.000Z"})", nullptr},
      {R"({"source": "", "time": "2026-01-02T03:04:60.000Z"})", nullptr},
      {R"({"source": "", "time": "2026-01-02T03:04:05.000Z "})", nullptr},
      {R"({"source": "\ud800")" + at, nullptr}, {R"({"source": "\ude00x")" + at, nullptr},
      {R"({"source": "\ud800\u0041")" + at, nullptr}, {R"({"source": "\u12")" + at, nullptr},
      {R"({"source": "\x")" + at, nullptr}, {"{\"source\": \"a\tb\"" + at, nullptr},
      {R"({"source": "a")" + at + " x", nullptr}, {R"({"source": "a")" + at.substr(0, at.size() - 1) + ",}", nullptr},
      {R"(["a"])", nullptr}, {"", nullptr}, {R"({"source": "a)", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.json);
    RecoveryNote note;
    EXPECT_EQ(test::ErrorOf([&] { note = ParseRecoveryNote(c.json); }), c.source ? "no error" : "its note is damaged");
    if (!c.source) continue;
    EXPECT_EQ(note.sourceFile, c.source);
    EXPECT_EQ(note.time.time_since_epoch() / milliseconds(1), c.ms);
  }
  EXPECT_EQ(LocalTimeText(Note("", 1767323045999).time), "2026-01-01 22:04:05");
}

TEST(RecoveryStoreTest, DefaultFolderIsWhereQtPutTheEditorsData) {
  QCoreApplication::setApplicationName("KxC2Map");
  const struct {
    const char *dataHome, *home, *folder;
  } cases[] = {{"/d", "/h", "/d/KxC2Map/recovery"}, {"rel", "/h", "rel/KxC2Map/recovery"},
               {"", "/h/", "/h/.local/share/KxC2Map/recovery"}, {nullptr, "", "//.local/share/KxC2Map/recovery"}};
  for (const auto& c : cases) {
    c.dataHome ? ::setenv("XDG_DATA_HOME", c.dataHome, 1) : ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", c.home, 1);
    EXPECT_EQ(RecoveryStore::DefaultFolder(), c.folder);
    EXPECT_EQ(RecoveryStore::DefaultFolder(),
              (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery").toStdString());
  }
}

}  // namespace
}  // namespace kxc2
