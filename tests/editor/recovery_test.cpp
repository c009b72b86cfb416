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
#include "editing/recovery_keeper.h"
#include "tests/editor/commands_fixture.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/child_process.h"

namespace kxc2 {
namespace {

using namespace std::chrono_literals;

std::vector<std::uint8_t> Encoded(const MapDocument& document) {
  const auto bytes = EncodeMapFile(document);
  return {bytes.begin(), bytes.end()};
}

class RecoveryTest : public test::CommandsTest {
 protected:
  RecoveryTest() : folder(QString::fromStdString(RecoveryStore::DefaultFolder())) {
    QDir(folder).removeRecursively();
    pointSettingsAtGame();
  }
  ~RecoveryTest() override { QDir(folder).removeRecursively(); }

  QStringList copies() const { return QDir(folder).entryList({"*.map"}, QDir::Files); }
  QString ownCopy(TForm1& editor) {
    return QFileInfo(QString::fromStdString(editor.recovery().store().mapPath())).fileName();
  }
  static void paint(TForm1& editor, int code, int column, int row) {
    editor.TerrainList->setCurrentRow(code);
    editor.MapImageMouseUp(Qt::LeftButton, test::HexCentre(editor.viewState(), column, row));
  }
  // A new map with a change, its copy written.
  void startChanged() {
    start();
    form->New1Click();
    paint(*form, kCity, 1, 1);
    form->recovery().writeNow();
    ASSERT_TRUE(form->recovery().waitForWrites());
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
    paint(*form, kOcean, 2, 3);
    form->FormKeyPress('e');
    if (!QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(form->recovery().store().mapPath())); }, 5000)) return 3;
    test::WriteBytes(expected, Encoded(form->document()));
    ::kill(::getpid(), SIGKILL);
    return 4;
  });
  ASSERT_EQ(code, -1);
  ASSERT_EQ(copies().size(), 1);

  dialogs.confirmAnswers = {Answer::Yes};
  start();
  ASSERT_EQ(dialogs.confirmQuestions.size(), 1);
  EXPECT_TRUE(dialogs.confirmQuestions[0].contains(QString::fromStdString(game.file("river.map"))));
  EXPECT_EQ(Encoded(form->document()), test::ReadBytes(expected));
  EXPECT_TRUE(form->isWindowModified());
  EXPECT_EQ(form->headerSection(0), "river - 30W x 20H - No. 77");
  EXPECT_EQ(copies(), QStringList{ownCopy(*form)});  // the old copy went once this one was written

  okParameters(77);
  chooseSave(game.file("saved.map"));
  form->SaveAs1Click();
  EXPECT_EQ(dialogs.saveShown.back().fileName.toStdString(), game.file("river.map"));
  EXPECT_EQ(test::ReadBytes(game.path() / "saved.map"), test::ReadBytes(expected));
  EXPECT_FALSE(form->isWindowModified());
  EXPECT_TRUE(copies().isEmpty());
}

// Yes opens the copy, No deletes it, Cancel keeps it; a copy that cannot be
// read is reported and kept aside; a running editor's copy is left alone.
TEST_F(RecoveryTest, CopiesFoundAtStartUp) {
  MapDocument document;
  document.header = {33, 20, 15};
  document.grid.setRecord(4, 5, {9, 1, 0, 2, 3, 4, 5});
  const QByteArray map = QByteArray(reinterpret_cast<const char*>(Encoded(document).data()), 14561);
  const QByteArray note = R"({"source": "", "time": "2026-01-02T03:04:05.000Z"})";
  const struct {
    Answer answer;
    QByteArray map, note;
    int copiesLeft;  // Yes leaves the editor's own
    const char* error;
  } cases[] = {{Answer::Yes, map, note, 1, nullptr},
               {Answer::No, map, note, 0, nullptr},
               {Answer::Cancel, map, note, 1, nullptr},
               {Answer::Yes, map.left(100), note, 0, "(Read beyond end of file)"},
               {Answer::Yes, map, "{\"source\": 5}", 0, "(its note is damaged)"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(&c - cases));
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    for (const auto& [suffix, bytes] : {std::pair{".map", c.map}, std::pair{".json", c.note}}) {
      QFile file(folder + "/left" + suffix);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    dialogs.confirmQuestions.clear();
    dialogs.errors.clear();
    dialogs.confirmAnswers = {c.answer};
    start();
    EXPECT_EQ(copies().size(), c.copiesLeft);
    EXPECT_EQ(form->MapImage->isHidden(), c.answer != Answer::Yes || c.error);
    if (c.error) {
      ASSERT_EQ(dialogs.errors.size(), 1);
      EXPECT_TRUE(dialogs.errors[0].contains(c.error)) << dialogs.errors[0].toStdString();
      EXPECT_TRUE(dialogs.errors[0].endsWith("kept in " + folder + "/unreadable"));
      EXPECT_TRUE(QFile::exists(folder + "/unreadable/left.map") && QFile::exists(folder + "/unreadable/left.json"));
      continue;
    }
    ASSERT_EQ(dialogs.confirmQuestions.size(), 1);
    EXPECT_TRUE(dialogs.confirmQuestions[0].contains("a recovery copy of Untitled, written 2026-01-02 "));
    if (c.answer == Answer::Yes) {
      EXPECT_EQ(form->document().grid, document.grid);
      EXPECT_EQ(form->headerSection(0), "Untitled - 20W x 15H - No. ??");
    }
  }

  // A second editor while the first runs: neither takes the other's copy.
  QDir(folder).removeRecursively();
  startChanged();
  test::ScriptedDialogs otherDialogs;
  TForm1 other(otherDialogs, programFolder());
  EXPECT_TRUE(otherDialogs.confirmQuestions.isEmpty() && otherDialogs.errors.isEmpty());
  other.New1Click();
  paint(other, kSand, 2, 2);
  other.recovery().writeNow();
  ASSERT_TRUE(other.recovery().waitForWrites());
  EXPECT_EQ(copies().size(), 2);
  form.reset();  // ends normally: its copy goes, the other's stays
  EXPECT_EQ(copies(), QStringList{ownCopy(other)});
}

TEST_F(RecoveryTest, CopyGoesWhenTheMapIsSavedReplacedOrTheEditorEnds) {
  writeMap("other.map", test::MapFileBytes(40, 30, 20));
  const std::function<void()> actions[] = {
      [this] { okParameters(), chooseSave(game.file("s.map")), form->SaveAs1Click(); },
      [this] { form->Undo1->trigger(); },  // back at the saved state
      [this] { dialogs.confirmAnswers = {Answer::No}, form->New1Click(); },
      [this] { dialogs.confirmAnswers = {Answer::No}, chooseOpen(game.file("other.map")), form->Open1Click(); },
      [this] { form.reset(); }};
  for (const auto& action : actions) {
    SCOPED_TRACE(&action - actions);
    startChanged();
    ASSERT_EQ(copies().size(), 1);
    action();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
  }
}

// Every way the map is replaced asks first when a map is there, recovered or
// changed; Cancel keeps it, and the marker says whether the map is saved.
TEST_F(RecoveryTest, ReplacingTheMapAsksFirstAndSetsTheMarker) {
  writeMap("a.map", test::MapFileBytes(40, 30, 20));
  const QString a = QString::fromStdString(game.file("a.map")), open = "before opening another?";
  const std::pair<std::function<void()>, QString> paths[] = {{[&] { form->New1Click(); }, "before starting a new one?"},
      {[&] { chooseOpen(a.toStdString()), form->Open1Click(); }, open}, {[&] { form->openRecentMap(a); }, open},
      {[&] { form->openNamedMap(a); }, open}};  // the command line's and a drop's way
  const std::string note = R"({"source": "", "time": "2026-01-02T03:04:05.000Z"})";
  for (const auto& [replace, question] : paths)
    for (int before : {0, 1, 2})  // nothing, a recovered map, a changed map
      for (Answer answer : {Answer::No, Answer::Cancel}) {
        SCOPED_TRACE(question.toStdString() + std::to_string(before) + std::to_string(int(answer)));
        form.reset();
        QDir(folder).removeRecursively();
        dialogs.openChoices.clear();
        dialogs.confirmAnswers = {Answer::Yes};
        QDir().mkpath(folder);
        if (before == 1) test::WriteBytes((folder + "/left.map").toStdString(), test::MapFileBytes(33, 20, 15));
        if (before == 1) test::WriteBytes((folder + "/left.json").toStdString(), {note.begin(), note.end()});
        start();
        if (before == 2) form->New1Click(), paint(*form, kCity, 1, 1);
        const MapGrid kept = form->document().grid;
        dialogs.confirmQuestions.clear();
        dialogs.confirmAnswers = {answer};
        replace();
        EXPECT_EQ(dialogs.confirmQuestions, before ? QStringList{"Do you want to save this map " + question} : QStringList{});
        const bool cancelled = before && answer == Answer::Cancel;
        EXPECT_TRUE(!cancelled || form->document().grid == kept);
        EXPECT_EQ(form->isWindowModified(), cancelled);
        if (cancelled) continue;
        paint(*form, kSand, 2, 2);
        form->Undo1->trigger();
        EXPECT_FALSE(form->isWindowModified());
      }
}

TEST_F(RecoveryTest, WrittenAfterAQuietSpellOrDuringLongWorkAndFailuresReportedOnce) {
  start();
  form->New1Click();
  form->recovery().setDelays(250ms, 600ms);
  QElapsedTimer clock;
  clock.start();
  for (int step = 0; copies().isEmpty() && clock.elapsed() < 5000; ++step) {
    paint(*form, step % 2 != 0 ? kCity : kSand, 1, 1);  // a change every 30 ms: never quiet
    QTest::qWait(30);
  }
  EXPECT_EQ(copies().size(), 1);
  EXPECT_GE(clock.elapsed(), 550);
  const auto current = [&] {
    return test::ReadBytes(form->recovery().store().mapPath()) == Encoded(form->document());
  };
  // Written from the map as it was then; the quiet spell after the last change brings it up to date.
  EXPECT_TRUE(QTest::qWaitFor(current, 3000));
  form->Undo1->trigger();
  EXPECT_FALSE(current());
  EXPECT_TRUE(QTest::qWaitFor(current, 3000));

  // A folder that cannot be made: one report, and editing goes on.
  form.reset();
  QDir(folder).removeRecursively();
  QFile blocker(folder);
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  start();
  form->New1Click();
  for (int code : {kCity, kSand, kHill}) {
    paint(*form, code, 1, 1);
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
