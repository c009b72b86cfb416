// Paint .BMPs and Draw .SHPs as the user meets them: dialogs, questions,
// notices and what is left on disk.
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "export/bmp_writer.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

const QString kPainted = "Bitmaps painted.  If you haven't already done so, you should save your map now.";
const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};

struct DialogSeen {
  int columns = -1;
  int rows = -1;
  bool terrtypeEnabled = false;
};

class ExportCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(game_.path() / "UserBMP");
    std::filesystem::create_directory(game_.path() / "UserMap");
    const std::string ini = "[Locations]\r\nKC2=" + game_.folder() + "\r\n";
    test::WriteBytes(program_.path() / "KXC2MAP.INI", std::vector<std::uint8_t>(ini.begin(), ini.end()));
    form_ = std::make_unique<TForm1>(dialogs_, QString::fromStdString(program_.folder()));
    form_->Form2 = new TForm2(form_.get());
    form_->New1Click();
    ASSERT_EQ(form_->GameFolder(), QString::fromStdString(game_.folder()));
  }

  // The user sets the dialog's fields and presses OK (or Cancel).
  void answerParameters(bool ok, int mapNumber, int columns, int rows, int terrain = 0) {
    dialogs_.modalChoices.push_back([=, this](QDialog& dialog) {
      auto& form2 = dynamic_cast<TForm2&>(dialog);
      seen_.push_back({form2.SECols->value(), form2.SERows->value(), form2.Terrtype->isEnabled()});
      form2.SEMapno->setValue(mapNumber);
      form2.SECols->setValue(columns);
      form2.SERows->setValue(rows);
      form2.setTerrainIndex(terrain);
      return ok;
    });
  }

  std::filesystem::path userBmp() const { return game_.path() / "UserBMP"; }
  std::vector<std::string> pieces() const { return test::ListFolder(userBmp()); }

  test::TempDir program_;
  test::TempDir game_;
  test::ScriptedDialogs dialogs_;
  std::unique_ptr<TForm1> form_;
  std::vector<DialogSeen> seen_;
};

TEST_F(ExportCommandsTest, CancelChangesNothing) {
  form_->document().header = {50, 60, 5};
  form_->Form2->Terrtype->setEnabled(false);
  answerParameters(false, 45, 16, 11);
  form_->PaintBMPs1Click();
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].columns, 44);  // presets brought into the dialog's ranges
  EXPECT_EQ(seen_[0].rows, 11);
  EXPECT_TRUE(seen_[0].terrtypeEnabled);
  EXPECT_EQ(form_->document().header, (MapHeader{50, 60, 5}));
  EXPECT_TRUE(pieces().empty());
  EXPECT_TRUE(dialogs_.warnQuestions.isEmpty());
  EXPECT_TRUE(dialogs_.notices.isEmpty());
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(ExportCommandsTest, OkPaintsThePiecesAndTellsTheUser) {
  answerParameters(true, 45, 16, 11);
  form_->PaintBMPs1Click();
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].columns, 44);  // New's map size
  EXPECT_EQ(seen_[0].rows, 39);
  EXPECT_EQ(form_->document().header, (MapHeader{45, 16, 11}));
  EXPECT_EQ(pieces(), (std::vector<std::string>{"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp"}));
  EXPECT_TRUE(dialogs_.warnQuestions.isEmpty());
  EXPECT_EQ(dialogs_.notices, QStringList{kPainted});
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(ExportCommandsTest, NoKeepsOldPiecesWhileTheHeaderTakesTheDialogsValues) {
  test::WriteBytes(userBmp() / "Map4577.bmp", kOld);
  answerParameters(true, 45, 16, 11);
  dialogs_.warnAnswers.push_back(false);
  form_->PaintBMPs1Click();
  EXPECT_EQ(dialogs_.warnQuestions,
            QStringList{"One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?"});
  EXPECT_EQ(form_->document().header, (MapHeader{45, 16, 11}));
  EXPECT_EQ(pieces(), std::vector<std::string>{"Map4577.bmp"});
  EXPECT_EQ(test::ReadBytes(userBmp() / "Map4577.bmp"), kOld);
  EXPECT_TRUE(dialogs_.notices.isEmpty());
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

TEST_F(ExportCommandsTest, YesReplacesTheOldPieces) {
  test::WriteBytes(userBmp() / "Map4577.bmp", kOld);
  answerParameters(true, 45, 16, 11);
  dialogs_.warnAnswers.push_back(true);
  form_->PaintBMPs1Click();
  EXPECT_EQ(pieces(), (std::vector<std::string>{"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp"}));
  EXPECT_EQ(dialogs_.notices, QStringList{kPainted});
}

TEST_F(ExportCommandsTest, WinterTakesTheWinterTileSetBesideTheProgram) {
  // A one-colour winter set: every pixel of the pieces shows its index 3.
  Image winter(765, 50, Image::Format_Indexed8);
  std::vector<Rgb> palette(256, MakeRgb(0, 0, 0));
  palette[3] = MakeRgb(1, 2, 3);
  winter.setColorTable(palette);
  winter.fill(3);
  SaveBmp8(program_.file("WT50x45.bmp"), winter);
  answerParameters(true, 45, 16, 11, 1);
  form_->PaintBMPs1Click();
  const QImage piece(QString::fromStdString((userBmp() / "Map4511.bmp").string()));
  ASSERT_EQ(piece.size(), QSize(6, 45));
  EXPECT_EQ(piece.pixelIndex(0, 0), 3);
  EXPECT_EQ(piece.pixelIndex(5, 44), 3);
  EXPECT_EQ(piece.color(3), qRgb(1, 2, 3));
}

TEST_F(ExportCommandsTest, TileSetInTheUserFolderWhenNoneBesideTheProgram) {
  const QString user = form_->UserFolder();
  EXPECT_EQ(user, qEnvironmentVariable("XDG_CONFIG_HOME") + "/" + QCoreApplication::applicationName() + "/");
  ASSERT_TRUE(QDir().mkpath(user));
  Image summer(765, 50, Image::Format_Indexed8);
  std::vector<Rgb> palette(256, MakeRgb(0, 0, 0));
  palette[5] = MakeRgb(4, 5, 6);
  summer.setColorTable(palette);
  summer.fill(5);
  SaveBmp8((user + "ST50x45.bmp").toStdString(), summer);
  answerParameters(true, 45, 16, 11, 0);
  form_->PaintBMPs1Click();
  QDir(user).removeRecursively();
  const QImage piece(QString::fromStdString((userBmp() / "Map4500.bmp").string()));
  ASSERT_EQ(piece.size(), QSize(640, 480));
  EXPECT_EQ(piece.pixelIndex(0, 0), 5);
  EXPECT_EQ(piece.color(5), qRgb(4, 5, 6));
}

TEST_F(ExportCommandsTest, ErrorShowsItsMessageAndKeepsTheHeader) {
  std::filesystem::remove(userBmp());
  answerParameters(true, 46, 20, 12);
  form_->PaintBMPs1Click();
  EXPECT_EQ(dialogs_.errors, QStringList{QString::fromStdString("Cannot create file " + game_.folder() +
                                                                "UserBMP/Map4600.bmp")});
  EXPECT_TRUE(dialogs_.notices.isEmpty());
  EXPECT_EQ(form_->document().header, (MapHeader{46, 20, 12}));
}

// Draw .SHPs lends OpenDialog1 and gets it back the same however it ends.
class WriteShpsTest : public ExportCommandsTest {
 protected:
  void SetUp() override {
    ExportCommandsTest::SetUp();
    form_->OpenDialog1.fileName = "left.map";
    Image bitmap(8, 4, Image::Format_Indexed8);
    bitmap.setColorCount(256);
    bitmap.fill(5);
    SaveBmp8((userBmp() / "Map4500.bmp").string(), bitmap);
  }

  void choose(const std::vector<std::string>& paths) {
    dialogs_.openChoices.push_back([paths](FileDialogState& state) {
      state.files.clear();
      for (const std::string& path : paths) state.files << QString::fromStdString(path);
      state.fileName = state.files.value(0);
      return true;
    });
  }

  void expectDialogShownAndGivenBack() {
    ASSERT_EQ(dialogs_.openShown.size(), 1u);
    const FileDialogState& shown = dialogs_.openShown[0];
    EXPECT_TRUE(shown.multiSelect);
    EXPECT_EQ(shown.filterIndex, 2);
    EXPECT_EQ(shown.title, "Convert bitmaps to SHPs");
    EXPECT_EQ(shown.initialFolder, QString::fromStdString(game_.folder() + "UserBMP"));
    EXPECT_EQ(shown.fileName, "");
    EXPECT_FALSE(form_->OpenDialog1.multiSelect);
    EXPECT_EQ(form_->OpenDialog1.filterIndex, 1);
    EXPECT_EQ(form_->OpenDialog1.title, "Convert bitmaps to SHPs");
  }

  std::filesystem::path userMap() const { return game_.path() / "UserMap"; }
};

TEST_F(WriteShpsTest, Cancel) {
  form_->WriteSHPs1Click();
  expectDialogShownAndGivenBack();
  EXPECT_TRUE(dialogs_.notices.isEmpty());
  EXPECT_TRUE(test::ListFolder(userMap()).empty());
}

TEST_F(WriteShpsTest, NoToTheQuestion) {
  test::WriteBytes(userMap() / "Map4599.shp", kOld);
  choose({(userBmp() / "Map4500.bmp").string()});
  dialogs_.warnAnswers.push_back(false);
  form_->WriteSHPs1Click();
  expectDialogShownAndGivenBack();
  EXPECT_EQ(dialogs_.warnQuestions,
            QStringList{"One or more Map45*.shp files already exist.  DELETE them and write new SHPs?"});
  EXPECT_EQ(test::ListFolder(userMap()), std::vector<std::string>{"Map4599.shp"});
  EXPECT_TRUE(dialogs_.notices.isEmpty());
}

TEST_F(WriteShpsTest, Error) {
  const std::string missing = (userBmp() / "Map4700.bmp").string();
  choose({missing});
  form_->WriteSHPs1Click();
  expectDialogShownAndGivenBack();
  ASSERT_EQ(dialogs_.errors.size(), 1);
  EXPECT_TRUE(dialogs_.errors[0].startsWith("Cannot open file")) << dialogs_.errors[0].toStdString();
  EXPECT_TRUE(dialogs_.notices.isEmpty());
}

TEST_F(WriteShpsTest, Success) {
  test::WriteBytes(userMap() / "Map4599.shp", kOld);
  choose({(userBmp() / "Map4500.bmp").string()});
  dialogs_.warnAnswers.push_back(true);
  form_->WriteSHPs1Click();
  expectDialogShownAndGivenBack();
  EXPECT_EQ(test::ListFolder(userMap()), std::vector<std::string>{"Map4500.shp"});
  EXPECT_EQ(dialogs_.notices, QStringList{"SHP files drawn."});
  EXPECT_TRUE(dialogs_.errors.isEmpty());
}

}  // namespace
}  // namespace kxc2
