// Maps opened without the Open dialog: dropped on the window, chosen from
// File > Recent Maps; and the list those keep in the settings file.
#include <QCoreApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include "editor/image_control.h"
#include "editing/ini_file.h"
#include "editing/recent_maps.h"
#include "tests/editor/commands_fixture.h"

namespace kxc2::test {
namespace {

class OpenElsewhereTest : public CommandsTest {
 protected:
  void SetUp() override {
    pointSettingsAtGame();
    start();
    writeMap("a.map", MapFileBytes(40, 30, 20));
    writeMap("b.map", MapFileBytes(41, 20, 15));
  }
  std::string path(const char* name) const { return game.folder() + name; }
  std::vector<std::string> listInSettings() const {
    return RecentMaps::Read(IniFile::Load(program.folder() + "KXC2MAP.INI")).paths();
  }
  QStringList menuTexts() const {
    QStringList texts;
    for (QAction* action : form->RecentMaps1->actions()) texts << action->text();
    return texts;
  }
  // What a desktop's drop brings; accepted tells whether the window took it.
  bool drop(const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent event(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.get(), &event);
    return true;
  }
};

TEST_F(OpenElsewhereTest, OpenAndSaveListTheMapsNewestFirst) {
  EXPECT_FALSE(form->RecentMaps1->isEnabled());
  chooseOpen(path("a.map"));
  form->Open1Click();
  dialogs.confirmAnswers.push_back(Answer::No);
  chooseOpen(path("b.map"));
  form->Open1Click();
  EXPECT_EQ(listInSettings(), (std::vector<std::string>{path("b.map"), path("a.map")}));
  EXPECT_EQ(menuTexts(), (QStringList{QString::fromStdString("&1  " + path("b.map")),
                                      QString::fromStdString("&2  " + path("a.map"))}));
  EXPECT_TRUE(form->RecentMaps1->isEnabled());
  // The game's setting is still there.
  EXPECT_EQ(IniFile::Load(program.folder() + "KXC2MAP.INI").readString("Locations", "KC2", ""), game.folder());

  okParameters(50);
  chooseSave(path("saved.map"));
  form->SaveAs1Click();
  EXPECT_EQ(listInSettings().front(), path("saved.map"));
}

TEST_F(OpenElsewhereTest, ARecentMapOpensAfterTheSaveFirstQuestion) {
  chooseOpen(path("a.map"));
  form->Open1Click();
  chooseOpen(path("b.map"));
  dialogs.confirmAnswers.push_back(Answer::No);
  form->Open1Click();
  dialogs.confirmAnswers.push_back(Answer::No);
  form->RecentMaps1->actions().at(1)->trigger();
  EXPECT_EQ(dialogs.confirmQuestions.size(), 2);
  EXPECT_EQ(form->headerSection(0), "a - 30W x 20H - No. 40");
  EXPECT_EQ(listInSettings().front(), path("a.map"));
}

TEST_F(OpenElsewhereTest, AMissingRecentMapIsNamedAndLeavesTheList) {
  chooseOpen(path("a.map"));
  form->Open1Click();
  std::filesystem::remove(path("a.map"));
  form->RecentMaps1->actions().at(0)->trigger();
  EXPECT_EQ(dialogs.errors, QStringList{QString::fromStdString("The map " + path("a.map") + " no longer exists.")});
  EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
  EXPECT_TRUE(listInSettings().empty());
  EXPECT_FALSE(form->RecentMaps1->isEnabled());
}

TEST_F(OpenElsewhereTest, DroppedFiles) {
  const struct {
    const char* name;
    QList<QUrl> urls;
    bool accepted;
  } cases[] = {
      {"a text file", {QUrl::fromLocalFile(QString::fromStdString(path("notes.txt")))}, false},
      {"two maps", {QUrl::fromLocalFile(QString::fromStdString(path("a.map"))),
                    QUrl::fromLocalFile(QString::fromStdString(path("b.map")))}, false},
      {"a web address", {QUrl("https://example.org/a.map")}, false},
      {"nothing", {}, false},
      {"a map in capitals", {QUrl::fromLocalFile(QString::fromStdString(path("B.MAP")))}, true},
  };
  writeMap("B.MAP", MapFileBytes(42, 16, 11));
  chooseOpen(path("a.map"));
  form->Open1Click();
  for (const auto& c : cases) {
    dialogs.confirmAnswers.push_back(Answer::No);
    EXPECT_EQ(drop(c.urls), c.accepted) << c.name;
  }
  // Only the map asked the save-first question, and it was opened.
  EXPECT_EQ(dialogs.confirmQuestions,
            QStringList{"Do you want to save this map before opening another?"});
  EXPECT_EQ(form->headerSection(0), "B - 16W x 11H - No. 42");
}

TEST_F(OpenElsewhereTest, DroppedOnAnEmptyEditorAsksNothing) {
  EXPECT_TRUE(drop({QUrl::fromLocalFile(QString::fromStdString(path("a.map")))}));
  EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
  EXPECT_FALSE(form->MapImage->isHidden());
}

}  // namespace
}  // namespace kxc2::test
