// New, Open, Save, the close request, Exit and About of the main window.
#include <QApplication>
#include <QGroupBox>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include "editor/image_control.h"
#include "tests/editor/commands_fixture.h"

namespace kxc2::test {
namespace {

const QString kNewQuestion = "Do you want to save this map before starting a new one?";
const QString kOpenQuestion = "Do you want to save this map before opening another?";
const QString kExitQuestion = "Do you want to save this map before exiting?";

// Everything a failed or refused command must leave as it was.
struct WindowSnapshot {
  MapHeader header;
  MapGrid grid;
  ViewState view;
  QStringList sections;
  bool mapShown;
  bool saveEnabled;
  bool paintEnabled;
  int hPosition;
  int vPosition;
  QImage picture;

  explicit WindowSnapshot(const TForm1& form)
      : header(form.document().header),
        grid(form.document().grid),
        view(form.viewState()),
        sections{form.headerSection(0), form.headerSection(1), form.headerSection(2)},
        mapShown(!form.MapImage->isHidden()),
        saveEnabled(form.SaveAs1->isEnabled()),
        paintEnabled(form.PaintBMPs1->isEnabled()),
        hPosition(form.HScrollBar->value()),
        vPosition(form.VScrollBar->value()),
        picture(form.picture()) {}
};

void ExpectUnchanged(const WindowSnapshot& before, const TForm1& form) {
  const WindowSnapshot after(form);
  EXPECT_EQ(after.header, before.header);
  EXPECT_TRUE(after.grid == before.grid);
  EXPECT_EQ(after.view, before.view);
  EXPECT_EQ(after.sections, before.sections);
  EXPECT_EQ(after.mapShown, before.mapShown);
  EXPECT_EQ(after.saveEnabled, before.saveEnabled);
  EXPECT_EQ(after.paintEnabled, before.paintEnabled);
  EXPECT_EQ(after.hPosition, before.hPosition);
  EXPECT_EQ(after.vPosition, before.vPosition);
  EXPECT_TRUE(after.picture == before.picture);
}

std::vector<std::uint8_t> Head(const std::vector<std::uint8_t>& bytes, std::size_t count) {
  return {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(count, bytes.size()))};
}

class DocumentTest : public CommandsTest {
 protected:
  void SetUp() override {
    pointSettingsAtGame();
    start();
  }
  std::string scenario(const std::string& name) const { return game.folder() + "scenario/" + name; }
  void makeScenario() { std::filesystem::create_directory(game.path() / "scenario"); }
};

// ---- New ----------------------------------------------------------------

TEST_F(DocumentTest, NewAtStartAsksNothing) {
  form->New1Click();
  EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  EXPECT_EQ(form->headerSection(1), "Selected: ( 00, 00 ) Clear ");
  EXPECT_EQ(form->document().header, (MapHeader{0, 44, 39}));
  EXPECT_FALSE(form->MapImage->isHidden());
  EXPECT_TRUE(form->SaveAs1->isEnabled());
  EXPECT_TRUE(form->PaintBMPs1->isEnabled());
  EXPECT_EQ(form->viewState(), (ViewState{true, 0, 0, 0, 0, true}));
  EXPECT_TRUE(form->document().grid == MapGrid{});
}

TEST_F(DocumentTest, NewThenSaveWritesThePresetsAndExactBytes) {
  form->New1Click();
  form->document().grid.setTerrain(1, 0, 3);
  form->document().grid.setRoadMask(44, 39, 0x81);
  okParameters();
  chooseSave(game.file("first.map"));
  form->SaveAs1Click();

  ASSERT_EQ(parametersSeen.size(), 1u);
  EXPECT_EQ(parametersSeen[0].columns, 44);
  EXPECT_EQ(parametersSeen[0].rows, 39);
  EXPECT_EQ(parametersSeen[0].mapNumber, 32);
  EXPECT_FALSE(parametersSeen[0].terrtypeEnabled);
  EXPECT_TRUE(form->Form2->Terrtype->isEnabled());

  const std::vector<std::uint8_t> bytes = ReadBytes(game.file("first.map"));
  ASSERT_EQ(bytes.size(), 14561u);
  EXPECT_EQ(Head(bytes, 10), (std::vector<std::uint8_t>{0x20, 0, 0x2C, 0, 0x27, 0, 0, 0, 0, 0}));
  EXPECT_EQ(bytes[17], 3);          // hex (1, 0), terrain
  EXPECT_EQ(bytes[12603 + 2], 0x81);  // hex (44, 39), road mask
  const std::vector<std::uint8_t> trailer(bytes.begin() + 12610, bytes.begin() + 12625);
  EXPECT_EQ(trailer, (std::vector<std::uint8_t>{1, 0x55, 1, 0x0C, 4, 1, 0, 0x0E, 0, 0, 0, 0, 0, 0, 0}));
  std::size_t nonZero = 0;
  for (std::size_t i = 10; i < 12610; ++i) nonZero += bytes[i] != 0;
  EXPECT_EQ(nonZero, 2u);
  EXPECT_EQ(form->headerSection(0), "first - 44W x 39H - No. 32");
  EXPECT_EQ(form->document().header, (MapHeader{32, 44, 39}));
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

struct QuestionCase {
  const char* name;
  Answer answer;
  bool saveGoesOn;  // Yes: the save's dialogs are answered OK and a file
  bool commandGoesOn;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const QuestionCase& c, std::ostream* out) { *out << c.name; }

class NewQuestionTest : public DocumentTest, public ::testing::WithParamInterface<QuestionCase> {};

TEST_P(NewQuestionTest, AnswersToTheQuestion) {
  const QuestionCase& c = GetParam();
  newMapWithPaint();
  dialogs.confirmAnswers.push_back(c.answer);
  if (c.answer == Answer::Yes) {
    okParameters(50);
    chooseSave(game.file("before.map"));
  }
  form->New1Click();
  EXPECT_EQ(dialogs.confirmQuestions, QStringList{kNewQuestion});
  EXPECT_EQ(dialogs.modalRuns, c.answer == Answer::Yes ? 1 : 0);
  EXPECT_EQ(std::filesystem::exists(game.file("before.map")), c.answer == Answer::Yes);
  EXPECT_EQ(form->document().grid.terrain(3, 4), c.commandGoesOn ? 0 : 7);
  if (c.commandGoesOn) {
    EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  }
  if (c.answer == Answer::Yes) {
    EXPECT_EQ(form->document().header.mapNumber, 50);
  }
}

INSTANTIATE_TEST_SUITE_P(Answers, NewQuestionTest,
                         ::testing::Values(QuestionCase{"Yes", Answer::Yes, true, true},
                                           QuestionCase{"No", Answer::No, false, true},
                                           QuestionCase{"Cancel", Answer::Cancel, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, NewCancelChangesNothing) {
  newMapWithPaint();
  form->ZoomOut1Click();
  const WindowSnapshot before(*form);
  dialogs.confirmAnswers.push_back(Answer::Cancel);
  form->New1Click();
  ExpectUnchanged(before, *form);
}

TEST_F(DocumentTest, YesThenCancelInParametersDialogStillMakesTheNewMap) {
  newMapWithPaint();
  dialogs.confirmAnswers.push_back(Answer::Yes);
  cancelParameters();
  form->New1Click();
  EXPECT_EQ(dialogs.modalRuns, 1);
  EXPECT_TRUE(dialogs.saveShown.empty());
  EXPECT_EQ(form->document().grid.terrain(3, 4), 0);
  EXPECT_EQ(form->document().header, (MapHeader{0, 44, 39}));
}

TEST_F(DocumentTest, YesThenCancelInSaveDialogKeepsDialogValuesAndGoesOn) {
  newMapWithPaint();
  dialogs.confirmAnswers.push_back(Answer::Yes);
  okParameters(61);
  cancelSave();
  form->New1Click();
  EXPECT_EQ(dialogs.saveShown.size(), 1u);
  EXPECT_EQ(form->document().grid.terrain(3, 4), 0);
  EXPECT_EQ(form->document().header, (MapHeader{61, 44, 39}));
}

TEST_F(DocumentTest, ErrorInsideSaveStopsNew) {
  newMapWithPaint();
  const WindowSnapshot before(*form);
  dialogs.confirmAnswers.push_back(Answer::Yes);
  okParameters(40);
  chooseSave(game.folder() + "missing/x.map");
  form->New1Click();
  EXPECT_EQ(dialogs.errors, QStringList{"Invalid filename"});
  EXPECT_EQ(form->document().grid.terrain(3, 4), 7);
  EXPECT_EQ(form->headerSection(0), before.sections[0]);
  EXPECT_EQ(form->document().header, (MapHeader{40, 44, 39}));
  EXPECT_FALSE(std::filesystem::exists(game.path() / "missing"));
}

// ---- Open ---------------------------------------------------------------

TEST_F(DocumentTest, OpenReadsTheFileAndResetsTheView) {
  makeScenario();
  writeMap("scenario/river", MapFileBytes(45, 30, 20));
  form->New1Click();
  form->HScrollBar->setValue(6);
  form->HScrollBarScroll(6);
  form->MapImageMouseUp(Qt::RightButton, QPoint(100, 100));
  chooseOpen(scenario("river"));
  dialogs.confirmAnswers.push_back(Answer::No);
  form->Open1Click();

  ASSERT_EQ(dialogs.openShown.size(), 1u);
  EXPECT_EQ(dialogs.openShown[0].title, "Open KC2 map description");
  EXPECT_EQ(dialogs.openShown[0].filterIndex, 1);
  EXPECT_TRUE(dialogs.openShown[0].fileName.isEmpty());
  EXPECT_EQ(dialogs.openShown[0].initialFolder, gameFolder() + "scenario");
  EXPECT_EQ(dialogs.confirmQuestions, QStringList{kOpenQuestion});

  EXPECT_EQ(form->document().header, (MapHeader{45, 30, 20}));
  EXPECT_EQ(form->headerSection(0), "river - 30W x 20H - No. 45");
  for (const HexCoord hex : {HexCoord{0, 0}, HexCoord{13, 7}, HexCoord{44, 39}})
    EXPECT_EQ(form->document().grid.record(hex.column, hex.row), MapFileRecord(hex.column, hex.row));
  EXPECT_EQ(form->viewState(), (ViewState{true, 0, 0, 0, 0, true}));
  EXPECT_EQ(form->HScrollBar->value(), 0);
  EXPECT_EQ(form->VScrollBar->value(), 0);
  EXPECT_EQ(form->headerSection(1), "Selected: ( 00, 00 ) Clear ");
  EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(DocumentTest, OpenAtStartShowsTheMap) {
  writeMap("m.map", MapFileBytes(32, 16, 11));
  chooseOpen(game.file("m.map"));
  form->Open1Click();
  EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
  EXPECT_FALSE(form->MapImage->isHidden());
  EXPECT_TRUE(form->SaveAs1->isEnabled());
  EXPECT_TRUE(form->PaintBMPs1->isEnabled());
  EXPECT_EQ(form->headerSection(0), "m - 16W x 11H - No. 32");
}

TEST_F(DocumentTest, OpenFindsTheScenarioFolderInAnyCase) {
  std::filesystem::create_directory(game.path() / "SCENARIO");
  cancelOpen();
  form->Open1Click();
  ASSERT_EQ(dialogs.openShown.size(), 1u);
  EXPECT_EQ(dialogs.openShown[0].initialFolder, gameFolder() + "SCENARIO");
}

struct CaptionCase {
  const char* file;
  int mapNumber, columns, rows;
  const char* caption;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const CaptionCase& c, std::ostream* out) { *out << c.file; }

class OpenCaptionTest : public DocumentTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(OpenCaptionTest, CaptionFromNameAndHeader) {
  const CaptionCase& c = GetParam();
  writeMap(c.file, MapFileBytes(c.mapNumber, c.columns, c.rows));
  chooseOpen(game.file(c.file));
  form->Open1Click();
  EXPECT_EQ(form->headerSection(0), c.caption);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, OpenCaptionTest,
    ::testing::Values(CaptionCase{"my.map.map", 32, 44, 39, "my - 44W x 39H - No. 32"},
                      CaptionCase{"river", 45, 30, 20, "river - 30W x 20H - No. 45"},
                      CaptionCase{"Big Sea.MAP", 7, 60, 9, "Big Sea - 60W x 09H - No.  7"},
                      CaptionCase{"wide.map", 123, 1000, 0, "wide - 1000W x 00H - No. 123"},
                      CaptionCase{".hidden.map", 99, 16, 11, " - 16W x 11H - No. 99"},
                      CaptionCase{"max.map", 65535, 65535, 65535, "max - 65535W x 65535H - No. 65535"}));

struct FailedOpenCase {
  const char* name;
  std::size_t size;  // 0: no such file
  const char* file;
  const char* message;
};

class FailedOpenTest : public DocumentTest, public ::testing::WithParamInterface<FailedOpenCase> {};

TEST_P(FailedOpenTest, ChangesNothing) {
  const FailedOpenCase& c = GetParam();
  if (c.size) writeMap(c.file, MapFileBytes(70, 20, 12, c.size));
  form->New1Click();
  form->document().grid.setTerrain(5, 5, 9);
  form->ZoomOut1Click();
  form->MapImageMouseUp(Qt::RightButton, QPoint(30, 30));
  const WindowSnapshot before(*form);
  dialogs.confirmAnswers.push_back(Answer::No);
  chooseOpen(game.file(c.file));
  form->Open1Click();
  EXPECT_EQ(dialogs.errors, QStringList{c.message});
  ExpectUnchanged(before, *form);
}

TEST_P(FailedOpenTest, ChangesNothingBeforeAnyMap) {
  const FailedOpenCase& c = GetParam();
  if (c.size) writeMap(c.file, MapFileBytes(70, 20, 12, c.size));
  const WindowSnapshot before(*form);
  chooseOpen(game.file(c.file));
  form->Open1Click();
  EXPECT_EQ(dialogs.errors, QStringList{c.message});
  ExpectUnchanged(before, *form);
  EXPECT_TRUE(form->MapImage->isHidden());
  EXPECT_FALSE(form->SaveAs1->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedOpenTest,
    ::testing::Values(FailedOpenCase{"OneByteShort", 12609, "short.map", "Read beyond end of file"},
                      FailedOpenCase{"FourBytes", 4, "tiny.map", "Read beyond end of file"},
                      FailedOpenCase{"Missing", 0, "none.map", "File not found"},
                      FailedOpenCase{"MissingFolder", 0, "nofolder/x.map", "Invalid filename"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, FileOfExactlyTheReadSizeOpens) {
  writeMap("exact.map", MapFileBytes(33, 20, 15, 12610));
  chooseOpen(game.file("exact.map"));
  form->Open1Click();
  EXPECT_TRUE(dialogs.errors.isEmpty());
  EXPECT_EQ(form->headerSection(0), "exact - 20W x 15H - No. 33");
}

TEST_F(DocumentTest, OpenWhileZoomedOutKeepsTheZoomAndZeroesTheBars) {
  writeMap("z.map", MapFileBytes(40, 30, 20));
  form->New1Click();
  form->HScrollBar->setValue(5);
  form->HScrollBarScroll(5);
  form->VScrollBar->setValue(4);
  form->VScrollBarScroll(4);
  form->ZoomOut1Click();
  dialogs.confirmAnswers.push_back(Answer::No);
  chooseOpen(game.file("z.map"));
  form->Open1Click();
  EXPECT_FALSE(form->viewState().ZoomedIn);
  EXPECT_FALSE(form->HScrollBar->isEnabled());
  EXPECT_FALSE(form->VScrollBar->isEnabled());
  EXPECT_EQ(form->HScrollBar->value(), 0);
  EXPECT_EQ(form->VScrollBar->value(), 0);
  EXPECT_EQ(form->viewState(), (ViewState{false, 0, 0, 0, 0, true}));
}

TEST_F(DocumentTest, OpenQuestionCancelShowsNoDialog) {
  newMapWithPaint();
  const WindowSnapshot before(*form);
  dialogs.confirmAnswers.push_back(Answer::Cancel);
  form->Open1Click();
  EXPECT_TRUE(dialogs.openShown.empty());
  ExpectUnchanged(before, *form);
}

TEST_F(DocumentTest, OpenQuestionYesSavesThenOpens) {
  writeMap("next.map", MapFileBytes(41, 20, 15));
  newMapWithPaint();
  dialogs.confirmAnswers.push_back(Answer::Yes);
  okParameters();
  chooseSave(game.file("mine.map"));
  chooseOpen(game.file("next.map"));
  form->Open1Click();
  EXPECT_EQ(ReadBytes(game.file("mine.map")).size(), 14561u);
  EXPECT_EQ(ReadBytes(game.file("mine.map"))[10 + 7 * (45 * 4 + 3)], 7);
  EXPECT_EQ(form->headerSection(0), "next - 20W x 15H - No. 41");
}

TEST_F(DocumentTest, OpenQuestionYesThenCancelledSaveStillOpens) {
  writeMap("next.map", MapFileBytes(41, 20, 15));
  newMapWithPaint();
  dialogs.confirmAnswers.push_back(Answer::Yes);
  okParameters();
  cancelSave();
  chooseOpen(game.file("next.map"));
  form->Open1Click();
  EXPECT_EQ(dialogs.openShown.size(), 1u);
  EXPECT_EQ(form->headerSection(0), "next - 20W x 15H - No. 41");
}

TEST_F(DocumentTest, ErrorInsideSaveStopsOpenBeforeItsDialog) {
  newMapWithPaint();
  dialogs.confirmAnswers.push_back(Answer::Yes);
  okParameters();
  chooseSave(game.folder() + "missing/x.map");
  chooseOpen(game.file("next.map"));
  form->Open1Click();
  EXPECT_EQ(dialogs.errors, QStringList{"Invalid filename"});
  EXPECT_TRUE(dialogs.openShown.empty());
}

TEST_F(DocumentTest, NewAfterOpenKeepsTheMapNumberButShowsNone) {
  writeMap("o.map", MapFileBytes(45, 30, 20));
  chooseOpen(game.file("o.map"));
  form->Open1Click();
  dialogs.confirmAnswers.push_back(Answer::No);
  form->New1Click();
  EXPECT_EQ(form->document().header, (MapHeader{45, 44, 39}));
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  okParameters();
  chooseSave(game.file("n.map"));
  form->SaveAs1Click();
  EXPECT_EQ(parametersSeen.at(0).mapNumber, 32);
  EXPECT_EQ(Head(ReadBytes(game.file("n.map")), 2), (std::vector<std::uint8_t>{32, 0}));
}

// ---- Save ---------------------------------------------------------------

TEST_F(DocumentTest, SavePresetsAreBroughtIntoRangeAndMapNumberIsNever) {
  writeMap("big.map", MapFileBytes(90, 60, 5));
  chooseOpen(game.file("big.map"));
  form->Open1Click();
  okParameters();
  chooseSave(game.file("big2.map"));
  form->SaveAs1Click();
  ASSERT_EQ(parametersSeen.size(), 1u);
  EXPECT_EQ(parametersSeen[0].columns, 44);
  EXPECT_EQ(parametersSeen[0].rows, 11);
  EXPECT_EQ(parametersSeen[0].mapNumber, 32);
  EXPECT_EQ(Head(ReadBytes(game.file("big2.map")), 6), (std::vector<std::uint8_t>{32, 0, 44, 0, 11, 0}));
  EXPECT_EQ(form->headerSection(0), "big2 - 44W x 11H - No. 32");
}

TEST_F(DocumentTest, OpenThenSaveCarriesRecordsAndWritesConstants) {
  const std::vector<std::uint8_t> original = MapFileBytes(45, 30, 20);
  writeMap("o.map", original);
  chooseOpen(game.file("o.map"));
  form->Open1Click();
  okParameters();
  chooseSave(game.file("o2.map"));
  form->SaveAs1Click();
  const std::vector<std::uint8_t> saved = ReadBytes(game.file("o2.map"));
  ASSERT_EQ(saved.size(), 14561u);
  EXPECT_EQ(Head(saved, 10), (std::vector<std::uint8_t>{32, 0, 30, 0, 20, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(std::equal(saved.begin() + 10, saved.begin() + 12610, original.begin() + 10));
  EXPECT_EQ(saved[12610], 1);
}

TEST_F(DocumentTest, MapNumberKeptByTheDialogBetweenSaves) {
  form->New1Click();
  okParameters(77);
  chooseSave(game.file("a.map"));
  form->SaveAs1Click();
  writeMap("b.map", MapFileBytes(45, 30, 20));
  dialogs.confirmAnswers.push_back(Answer::No);
  chooseOpen(game.file("b.map"));
  form->Open1Click();
  EXPECT_EQ(form->headerSection(0), "b - 30W x 20H - No. 45");
  okParameters();
  chooseSave(game.file("c.map"));
  form->SaveAs1Click();
  EXPECT_EQ(parametersSeen.at(1).mapNumber, 77);
  EXPECT_EQ(form->headerSection(0), "c - 30W x 20H - No. 77");
}

TEST_F(DocumentTest, SaveDialogSettingsAndRememberedName) {
  form->New1Click();
  okParameters();
  chooseSave(game.file("my.map.map"));
  form->SaveAs1Click();
  EXPECT_EQ(form->headerSection(0), "my - 44W x 39H - No. 32");
  okParameters();
  cancelSave();
  form->SaveAs1Click();
  ASSERT_EQ(dialogs.saveShown.size(), 2u);
  const FileDialogState& first = dialogs.saveShown[0];
  EXPECT_EQ(first.title, "Save KC2 Map Description");
  EXPECT_EQ(first.filter, "KC2 Maps|*.map");
  EXPECT_EQ(first.defaultExtension, "map");
  EXPECT_TRUE(first.overwritePrompt);
  EXPECT_EQ(first.initialFolder, gameFolder() + "scenario");
  EXPECT_TRUE(first.fileName.isEmpty());
  EXPECT_EQ(dialogs.saveShown[1].fileName, QString::fromStdString(game.file("my.map.map")));

  // An opened map proposes its own file; a new one after it the last choice.
  std::filesystem::create_directory(game.path() / "other");
  writeMap("other/river.map", MapFileBytes(40, 30, 20));
  dialogs.confirmAnswers = {Answer::No, Answer::No};
  chooseOpen(game.file("other/river.map"));
  form->Open1Click();
  for (auto step : {&TForm1::SaveAs1Click, &TForm1::New1Click, &TForm1::SaveAs1Click})
    okParameters(), cancelSave(), (form.get()->*step)();
  ASSERT_EQ(dialogs.saveShown.size(), 4u);
  EXPECT_EQ(dialogs.saveShown[2].fileName, QString::fromStdString(game.file("other/river.map")));
  EXPECT_EQ(dialogs.saveShown[3].fileName, QString::fromStdString(game.file("my.map.map")));
  EXPECT_EQ(dialogs.saveShown[3].initialFolder, gameFolder() + "scenario");
}

TEST_F(DocumentTest, CancelInParametersDialogChangesNothing) {
  writeMap("o.map", MapFileBytes(45, 30, 20));
  chooseOpen(game.file("o.map"));
  form->Open1Click();
  const WindowSnapshot before(*form);
  cancelParameters();
  form->SaveAs1Click();
  EXPECT_TRUE(dialogs.saveShown.empty());
  ExpectUnchanged(before, *form);
  EXPECT_TRUE(form->Form2->Terrtype->isEnabled());
}

TEST_F(DocumentTest, OkThenCancelInSaveDialogKeepsValuesButNotCaption) {
  form->New1Click();
  okParameters(55);
  dialogs.modalChoices.push_back([](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    form2.SECols->setValue(20);
    form2.SERows->setValue(15);
    return true;
  });
  form->SaveAs1Click();  // first modal choice, no save answer: cancelled
  EXPECT_EQ(form->document().header, (MapHeader{55, 44, 39}));
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  cancelSave();
  form->SaveAs1Click();
  EXPECT_EQ(form->document().header, (MapHeader{55, 20, 15}));
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  okParameters();
  cancelSave();
  form->SaveAs1Click();
  EXPECT_EQ(parametersSeen.back().columns, 20);
  EXPECT_EQ(parametersSeen.back().rows, 15);
}

TEST_F(DocumentTest, FailedSaveKeepsCaptionTakesDialogValuesAndWritesNothing) {
  makeScenario();
  form->New1Click();
  okParameters();
  chooseSave(scenario("kept.map"));
  form->SaveAs1Click();
  const std::vector<std::uint8_t> kept = ReadBytes(scenario("kept.map"));
  const WindowSnapshot before(*form);
  okParameters(60);
  chooseSave(game.folder() + "nowhere/x.map");
  form->SaveAs1Click();
  EXPECT_EQ(dialogs.errors, QStringList{"Invalid filename"});
  EXPECT_EQ(form->headerSection(0), before.sections[0]);
  EXPECT_EQ(form->document().header, (MapHeader{60, 44, 39}));
  EXPECT_EQ(ReadBytes(scenario("kept.map")), kept);
  EXPECT_EQ(ListFolder(game.path() / "scenario"), std::vector<std::string>{"kept.map"});
}

TEST_F(DocumentTest, SavingOverAFolderFailsAndLeavesIt) {
  form->New1Click();
  std::filesystem::create_directories(game.path() / "taken.map" / "inside");
  okParameters();
  chooseSave(game.file("taken.map"));
  form->SaveAs1Click();
  ASSERT_EQ(dialogs.errors.size(), 1);
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
  EXPECT_TRUE(std::filesystem::is_directory(game.path() / "taken.map" / "inside"));
  EXPECT_EQ(ListFolder(game.path()), (std::vector<std::string>{"UserBMP", "UserMap", "taken.map"}));
}

// ---- Close request and Exit ---------------------------------------------

TEST_F(DocumentTest, CloseWithoutMapAsksNothing) {
  bool canClose = true;
  form->FormCloseQuery(canClose);
  EXPECT_TRUE(canClose);
  EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
}

struct CloseCase {
  const char* name;
  Answer answer;
  int saveStep;  // 0 nothing, 1 parameters cancelled, 2 file cancelled, 3 saved, 4 save fails
  bool closes;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

class CloseQuestionTest : public DocumentTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseQuestionTest, Answers) {
  const CloseCase& c = GetParam();
  form->New1Click();
  dialogs.confirmAnswers.push_back(c.answer);
  if (c.saveStep == 1) cancelParameters();
  if (c.saveStep >= 2) okParameters();
  if (c.saveStep == 2) cancelSave();
  if (c.saveStep == 3) chooseSave(game.file("end.map"));
  if (c.saveStep == 4) chooseSave(game.folder() + "missing/end.map");
  bool canClose = true;
  form->FormCloseQuery(canClose);
  EXPECT_EQ(canClose, c.closes);
  EXPECT_EQ(dialogs.confirmQuestions, QStringList{kExitQuestion});
  EXPECT_EQ(std::filesystem::exists(game.file("end.map")), c.saveStep == 3);
  EXPECT_EQ(dialogs.errors.size(), c.saveStep == 4 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Answers, CloseQuestionTest,
                         ::testing::Values(CloseCase{"Yes_Saved", Answer::Yes, 3, true},
                                           CloseCase{"Yes_ParametersCancelled", Answer::Yes, 1, true},
                                           CloseCase{"Yes_FileCancelled", Answer::Yes, 2, true},
                                           CloseCase{"Yes_SaveFails", Answer::Yes, 4, false},
                                           CloseCase{"No", Answer::No, 0, true},
                                           CloseCase{"Cancel", Answer::Cancel, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentTest, ExitAsksThroughTheCloseRequest) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->New1Click();
  dialogs.confirmAnswers.push_back(Answer::Cancel);
  form->Exit1Click();
  EXPECT_TRUE(form->isVisible());
  dialogs.confirmAnswers.push_back(Answer::No);
  form->Exit1Click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(dialogs.confirmQuestions, (QStringList{kExitQuestion, kExitQuestion}));
}

TEST_F(DocumentTest, ExitWithoutMapClosesAtOnce) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->Exit1Click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(dialogs.confirmQuestions.isEmpty());
}

// ---- About --------------------------------------------------------------

TEST_F(DocumentTest, AboutTwiceIsOneModelessWindow) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->About1Click();
  form->About1Click();
  int shown = 0;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == "Form3" && widget->isVisible()) ++shown;
  EXPECT_EQ(shown, 1);
  EXPECT_TRUE(form->Form3->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  form->New1Click();  // the main window goes on working meanwhile
  EXPECT_EQ(form->headerSection(0), "Untitled - 44W x 39H - No. ??");
}

}  // namespace
}  // namespace kxc2::test
