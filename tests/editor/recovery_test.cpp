// The recovery copy: written while changes are unsaved, removed when they
// are not, offered after a crash, owned by one editor at a time.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <csignal>
#include <unistd.h>

#include "core/map_file.h"
#include "core/terrain.h"
#include "editor/image_control.h"
#include "editor/recovery_store.h"
#include "tests/editor/commands_fixture.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/child_process.h"

namespace kxc2 {
namespace {

using namespace std::chrono_literals;
using test::ReadBytes;

std::vector<std::uint8_t> Encoded(const MapDocument& document) {
  const auto bytes = EncodeMapFile(document);
  return {bytes.begin(), bytes.end()};
}

class RecoveryTest : public test::CommandsTest {
 protected:
  RecoveryTest() : folder(RecoveryStore::DefaultFolder()) {
    QDir(folder).removeRecursively();
    pointSettingsAtGame();
  }
  ~RecoveryTest() override { QDir(folder).removeRecursively(); }

  QStringList copies() const { return QDir(folder).entryList({"*.map"}, QDir::Files); }
  void paint(int code, int column, int row) {
    form->TerrainList->setCurrentRow(code);
    form->MapImageMouseUp(Qt::LeftButton, test::HexCentre(form->viewState(), column, row));
  }
  // A copy whose editor was killed: nothing of it ran at its end.
  void leaveCopy(const MapDocument& document, const QString& source) {
    const int code = test::RunInChild([&] {
      RecoveryStore store(folder);
      store.write(document, {source, QDateTime::currentDateTimeUtc()});
      ::kill(::getpid(), SIGKILL);
      return 0;
    });
    ASSERT_EQ(code, -1);
  }

  const QString folder;
};

TEST_F(RecoveryTest, CopyOfAKilledEditorIsOfferedAndSavesAsItsSaveWould) {
  writeMap("river.map", test::MapFileBytes(40, 30, 20));
  const std::string expected = program.file("expected.map");
  const int code = test::RunInChild([&] {
    start();
    chooseOpen(game.file("river.map"));
    form->Open1Click();
    okParameters(77);
    cancelSave();
    form->SaveAs1Click();  // the header the dialog gave stands
    form->recovery().setDelays(20ms, 1000ms);
    paint(kOcean, 2, 3);
    form->FormKeyPress('e');
    if (!QTest::qWaitFor([&] { return QFile::exists(form->recovery().store().mapPath()); }, 5000))
      return 3;
    test::WriteBytes(expected, Encoded(form->document()));
    ::kill(::getpid(), SIGKILL);
    return 4;
  });
  ASSERT_EQ(code, -1);
  ASSERT_EQ(copies().size(), 1);

  dialogs.confirmAnswers = {Answer::Yes};
  start();
  ASSERT_EQ(dialogs.confirmQuestions.size(), 1);
  EXPECT_TRUE(dialogs.confirmQuestions[0].contains(QString::fromStdString(game.file("river.map"))))
      << dialogs.confirmQuestions[0].toStdString();
  EXPECT_EQ(Encoded(form->document()), ReadBytes(expected));
  EXPECT_TRUE(form->isWindowModified());
  EXPECT_FALSE(form->MapImage->isHidden());
  EXPECT_EQ(form->headerSection(0), "river - 30W x 20H - No. 77");
  EXPECT_EQ(form->SaveDialog1.fileName.toStdString(), game.file("river.map"));
  EXPECT_EQ(copies(), QStringList{QFileInfo(form->recovery().store().mapPath()).fileName()});

  okParameters(77);
  chooseSave(game.file("saved.map"));
  form->SaveAs1Click();
  EXPECT_EQ(ReadBytes(game.path() / "saved.map"), ReadBytes(expected));
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_TRUE(copies().isEmpty());
}

TEST_F(RecoveryTest, AnswersToTheOfferedCopy) {
  MapDocument document;
  document.header = {33, 20, 15};
  document.grid.setRecord(4, 5, {9, 1, 0, 2, 3, 4, 5});
  const struct {
    Answer answer;
    bool opened;
    int copiesLeft;  // No deletes the copy; Yes leaves the editor's own
  } cases[] = {{Answer::Yes, true, 1}, {Answer::No, false, 0}, {Answer::Cancel, false, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.answer));
    QDir(folder).removeRecursively();
    leaveCopy(document, QString());
    dialogs.confirmQuestions.clear();
    dialogs.confirmAnswers = {c.answer};
    start();
    ASSERT_EQ(dialogs.confirmQuestions.size(), 1);
    EXPECT_TRUE(dialogs.confirmQuestions[0].contains("a recovery copy of Untitled, written "));
    EXPECT_EQ(form->MapImage->isHidden(), !c.opened);
    EXPECT_EQ(copies().size(), c.copiesLeft);
    if (c.opened) {
      EXPECT_EQ(form->document().grid, document.grid);
      EXPECT_EQ(form->headerSection(0), "Untitled - 20W x 15H - No. ??");
    }
    form.reset();
  }
}

TEST_F(RecoveryTest, TwoEditorsAtOnceKeepTheirOwnCopies) {
  start();
  form->New1Click();
  paint(kCity, 1, 1);
  form->recovery().writeNow();
  ASSERT_TRUE(form->recovery().waitForWrites());
  test::ScriptedDialogs otherDialogs;
  TForm1 other(otherDialogs, programFolder());
  EXPECT_TRUE(otherDialogs.confirmQuestions.isEmpty());
  EXPECT_TRUE(otherDialogs.errors.isEmpty());
  other.New1Click();
  other.TerrainList->setCurrentRow(kSand);
  other.MapImageMouseUp(Qt::LeftButton, test::HexCentre(other.viewState(), 2, 2));
  other.recovery().writeNow();
  ASSERT_TRUE(other.recovery().waitForWrites());
  EXPECT_EQ(copies().size(), 2);
  form.reset();  // ends normally: its copy goes, the other's stays
  EXPECT_EQ(copies(), QStringList{QFileInfo(other.recovery().store().mapPath()).fileName()});
}

TEST_F(RecoveryTest, UnreadableCopyIsReportedAndKeptAside) {
  const QByteArray goodNote = R"({"source": "", "time": "2026-01-02T03:04:05.000Z"})";
  const struct {
    const char* name;
    QByteArray map;
    QByteArray note;
    const char* reason;
  } cases[] = {
      {"short map", QByteArray(100, 'x'), goodNote, "(Read beyond end of file)"},
      {"damaged note", QByteArray(14561, '\0'), "{\"source\": 5}", "(its note is damaged)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (const auto& [suffix, bytes] : {std::pair{".map", c.map}, std::pair{".json", c.note}}) {
      QFile file(folder + "/left" + suffix);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(bytes);
    }
    dialogs.errors.clear();
    start();
    EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
    ASSERT_EQ(dialogs.errors.size(), 1);
    EXPECT_TRUE(dialogs.errors[0].contains(c.reason)) << dialogs.errors[0].toStdString();
    EXPECT_TRUE(dialogs.errors[0].endsWith("kept in " + folder + "/unreadable"));
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_TRUE(QFile::exists(folder + "/unreadable/left.map"));
    EXPECT_TRUE(QFile::exists(folder + "/unreadable/left.json"));
    form.reset();
  }
}

TEST_F(RecoveryTest, CopyGoesWhenTheMapIsSavedReplacedOrTheEditorEnds) {
  writeMap("other.map", test::MapFileBytes(40, 30, 20));
  const struct {
    const char* name;
    std::function<void()> action;
  } cases[] = {
      {"save", [this] { okParameters(), chooseSave(game.file("s.map")), form->SaveAs1Click(); }},
      {"undo to the saved state", [this] { form->Undo1->trigger(); }},
      {"new", [this] { dialogs.confirmAnswers = {Answer::No}, form->New1Click(); }},
      {"open", [this] {
         dialogs.confirmAnswers = {Answer::No};
         chooseOpen(game.file("other.map"));
         form->Open1Click();
       }},
      {"normal end", [this] { form.reset(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    start();
    form->New1Click();
    paint(kCity, 1, 1);
    form->recovery().writeNow();
    ASSERT_TRUE(form->recovery().waitForWrites());
    ASSERT_EQ(copies().size(), 1);
    c.action();
    EXPECT_TRUE(copies().isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    form.reset();
  }
}

TEST_F(RecoveryTest, WrittenAfterAQuietSpellOrDuringLongWorkAndFailuresReportedOnce) {
  start();
  form->New1Click();
  form->recovery().setDelays(250ms, 600ms);
  QElapsedTimer clock;
  clock.start();
  for (int step = 0; copies().isEmpty() && clock.elapsed() < 5000; ++step) {
    paint(step % 2 != 0 ? kCity : kSand, 1, 1);  // a change every 30 ms: never quiet
    QTest::qWait(30);
  }
  EXPECT_EQ(copies().size(), 1);
  EXPECT_GE(clock.elapsed(), 550);
  const std::filesystem::path copy = form->recovery().store().mapPath().toStdString();
  // Written from the map as it was then; the quiet spell after the last change brings it up to date.
  EXPECT_TRUE(QTest::qWaitFor([&] { return ReadBytes(copy) == Encoded(form->document()); }, 3000));
  form->Undo1->trigger();
  EXPECT_NE(ReadBytes(copy), Encoded(form->document()));
  EXPECT_TRUE(QTest::qWaitFor([&] { return ReadBytes(copy) == Encoded(form->document()); }, 3000));

  // A folder that cannot be made: one report, and editing goes on.
  form.reset();
  QDir(folder).removeRecursively();
  QFile blocker(folder);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  start();
  form->New1Click();
  for (int code : {kCity, kSand, kHill}) {
    paint(code, 1, 1);
    form->recovery().writeNow();
    EXPECT_FALSE(form->recovery().waitForWrites());
  }
  EXPECT_EQ(form->document().grid.terrain(1, 1), kHill);
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_TRUE(dialogs.errors[0].startsWith("The recovery copy of this map cannot be written (the folder "));
  QFile::remove(folder);
}

}  // namespace
}  // namespace kxc2
