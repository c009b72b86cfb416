// The Artwork Preview window driven through the editor's own widgets.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/map_file.h"
#include "core/terrain.h"
#include "draw/qt_bridge.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/artwork_preview.h"
#include "editor/image_control.h"
#include "editing/map_view.h"
#include "export/bmp_writer.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/support/busy_map.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

class PreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(game_.path() / "UserBMP");
    const std::string ini = "[Locations]\r\nKC2=" + game_.folder() + "\r\n";
    test::WriteBytes(program_.path() / "KXC2MAP.INI", std::vector<std::uint8_t>(ini.begin(), ini.end()));
    form_ = std::make_unique<TForm1>(dialogs_, QString::fromStdString(program_.folder()));
    form_->New1->trigger();
  }
  ArtworkPreview& open() {
    form_->ArtworkPreview1->trigger();
    ArtworkPreview* shown = nullptr;  // a closed one lingers until deleted
    for (ArtworkPreview* preview : form_->findChildren<ArtworkPreview*>()) if (preview->isVisible()) shown = preview;
    return *shown;
  }
  // What a fresh paint of the whole map shows with the window's variants.
  Image freshPaint(const ArtworkPreview& preview) const {
    const MapHeader& header = form_->document().header;
    return PaintMapPicture(form_->document().grid, ColumnsInDialogRange(header.columns),
                           RowsInDialogRange(header.rows), BuiltinTileSet(preview.winter()), preview.variants());
  }
  void clickHex(Qt::MouseButton button, int column, int row) {
    QTest::mouseClick(form_->MapImage, button, {}, ToQPoint(CellRect(form_->viewState(), column, row).center()));
  }
  void paintHex(int code, int column, int row) {
    form_->TerrainList->setCurrentRow(code);
    clickHex(Qt::LeftButton, column, row);
  }
  // A file dialog's answer: path chosen.
  static test::ScriptedDialogs::FileChoice choose(const std::string& path) {
    return [path](FileDialogState& state) {
      state.fileName = QString::fromStdString(path);
      return true;
    };
  }

  test::TempDir program_;
  test::TempDir game_;
  test::ScriptedDialogs dialogs_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(PreviewTest, OneWindowHoweverOftenChosenAndANewOneAfterClosing) {
  TForm1 fresh(dialogs_, QString::fromStdString(program_.folder()));
  EXPECT_FALSE(fresh.ArtworkPreview1->isEnabled());  // no map yet
  EXPECT_EQ(form_->ArtworkPreview1->shortcut(), QKeySequence(Qt::Key_F9));
  ArtworkPreview& first = open();
  EXPECT_EQ(&open(), &first);
  EXPECT_EQ(form_->findChildren<ArtworkPreview*>().size(), 1);
  EXPECT_TRUE(first.isVisible());
  EXPECT_EQ(first.windowTitle(), "Artwork Preview");
  EXPECT_EQ(first.ExportButton->text(), QString::fromUtf8("Export Picture\u2026"));
  first.close();
  EXPECT_NE(&open(), &first);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(form_->findChildren<ArtworkPreview*>().size(), 1);
}

// The window follows the editor's changes, its Undo, its own season and an
// opened map (edits beside rivers and roads: the model's test).
TEST_F(PreviewTest, PictureFollowsTheEditorAndStaysAFreshPaint) {
  test::FillBusyMap(form_->document().grid);
  emit form_->mapReplaced();
  const MapGrid start = form_->document().grid;
  ArtworkPreview& preview = open();
  ASSERT_EQ(preview.picture(), freshPaint(preview));
  const std::string path = program_.file("other.map");
  WriteMapFile(path, MapDocument{{50, 16, 11}, start});
  const std::function<void()> steps[] = {
      [&] { paintHex(kRiver, 2, 2); },
      [&] { paintHex(kRiver, 3, 3); },
      [&] {
        form_->Undo1->trigger();
        EXPECT_NE(form_->document().grid.terrain(3, 3), kRiver);
      },
      [&] { preview.WinterButton->click(); },
      [&] { paintHex(kImpassableRiver, 0, 0); },
      [&] {
        dialogs_.openChoices.push_back(choose(path));
        dialogs_.confirmAnswers.push_back(Answer::No);
        form_->Open1->trigger();
        EXPECT_EQ(preview.picture().size(), Size(646, 525));
      }};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i]();
    ASSERT_EQ(preview.picture(), freshPaint(preview)) << "step " << i;
  }
  EXPECT_TRUE(preview.winter());
}

// Paint .BMPs sets a new size while the window is open; it follows when it
// is next activated and then shows exactly the pieces written.
class PreviewPiecesTest : public PreviewTest, public ::testing::WithParamInterface<std::tuple<bool, QSize>> {};

TEST_P(PreviewPiecesTest, PictureCutAtThePiecesOffsetsIsThePieces) {
  const auto [winter, size] = GetParam();
  test::FillBusyMap(form_->document().grid);
  ArtworkPreview& preview = open();
  if (winter) preview.WinterButton->click();
  dialogs_.modalChoices.push_back([&](QDialog& dialog) {
    auto& form2 = dynamic_cast<TForm2&>(dialog);
    form2.SEMapno->setValue(45);
    form2.SECols->setValue(size.width());
    form2.SERows->setValue(size.height());
    form2.setTerrainIndex(winter ? 1 : 0);
    return true;
  });
  form_->PaintBMPs1->trigger();
  QApplication::setActiveWindow(&preview);
  ASSERT_EQ(preview.picture().size(), Size(45 * size.width() - 74, 50 * size.height() - 25));
  const std::vector<std::string> pieces = test::ListFolder(game_.path() / "UserBMP");
  ASSERT_EQ(pieces.size(), std::size_t(size.width() == 44 ? 15 : 4));
  for (const std::string& name : pieces) {
    const QImage piece(QString::fromStdString((game_.path() / "UserBMP" / name).string()));
    const int i = name[5] - '0', j = name[6] - '0';
    EXPECT_EQ(preview.picture().copy(640 * i, 480 * j, piece.width(), piece.height()), FromQImage(piece)) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(SeasonsAndSizes, PreviewPiecesTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(QSize(44, 39), QSize(16, 11))));

// The tile the painter drew under the clicked view pixel: the picture pixel
// under the pixel's centre at that zoom.
struct ClickCase {
  int zoomIndex;
  QPoint view;
  HexCoord hex;
};

TEST_F(PreviewTest, ClickSelectsTheHexDrawnThereAndScrollsTheEditorToIt) {
  test::FillBusyMap(form_->document().grid);
  ArtworkPreview& preview = open();
  preview.resize(400, 300);
  const ClickCase cases[] = {{2, {7, 24}, {0, 0}}, {2, {8, 25}, {1, 0}}, {0, {1, 6}, {0, 1}}, {0, {2, 6}, {1, 0}},
                             {1, {476, 475}, {22, 19}}, {3, {14, 51}, {0, 1}}, {0, {475, 480}, {43, 38}}};
  for (const ClickCase& c : cases) {
    preview.ZoomBox->setCurrentIndex(c.zoomIndex);
    QTest::mouseClick(preview.Pane, Qt::LeftButton, {}, c.view);
    EXPECT_EQ(HexCoord(form_->viewState().SelectedColumn, form_->viewState().SelectedRow), c.hex) << c.view.x();
    const QImage shown = preview.Pane->grab(QRect(c.view, QSize(1, 1))).toImage();
    const PreviewZoom zoom = preview.Pane->zoom();
    EXPECT_EQ(shown.pixel(0, 0), preview.picture().pixel(zoom.toPicture(c.view.x()), zoom.toPicture(c.view.y())));
  }
  // (43, 38) lies outside the zoomed-in window: the editor scrolled to it.
  EXPECT_EQ(form_->viewState().OriginColumn, 31);
  EXPECT_EQ(form_->viewState().OriginRow, 30);
}

TEST_F(PreviewTest, OutlinesMarkEveryPieceTheFifthRowIncluded) {
  ArtworkPreview& preview = open();
  preview.ZoomBox->setCurrentIndex(0);
  const QRgb magenta = qRgb(255, 0, 255);
  const auto at = [&preview](int x, int y) { return preview.Pane->grab(QRect(x, y, 1, 1)).toImage().pixel(0, 0); };
  EXPECT_NE(at(315, 480), magenta);
  preview.OutlinesCheck->click();
  EXPECT_EQ(preview.Pane->size(), QSize(476, 481));
  for (const QPoint p : {QPoint(315, 480), QPoint(315, 479), QPoint(160, 300), QPoint(159, 300), QPoint(475, 100)})
    EXPECT_EQ(at(p.x(), p.y()), magenta) << p.x() << ", " << p.y();
}

// An Untitled map (a negative number: New after opening that map) or one
// outside 32..99 has the dialog's number; labels are painted black.
TEST_F(PreviewTest, LabelsAndExportNameTheProposedNumber) {
  form_->Form2->SEMapno->setValue(57);
  ArtworkPreview& preview = open();
  preview.OutlinesCheck->click();
  // Numbers in and out of range: the model's test.
  const std::tuple<int, int, QString> cases[] = {{0, -40, "Map57"}, {3, 32, "Map32"}};
  for (const auto& [zoomIndex, number, name] : cases) {
    MapDocument document;
    document.header = {std::abs(number), 44, 39};
    const std::string file = program_.file("m.map");
    WriteMapFile(file, document);
    dialogs_.confirmAnswers = {Answer::No};
    form_->openNamedMap(QString::fromStdString(file));
    if (number < 0) {
      dialogs_.confirmAnswers = {Answer::No};
      form_->New1Click();
    }
    preview.ZoomBox->setCurrentIndex(zoomIndex);
    preview.ExportButton->click();
    EXPECT_EQ(dialogs_.saveShown.back().fileName, name + " summer.png");
    const std::vector<PieceMark> marks = preview.Pane->pieceMarks();
    EXPECT_EQ(marks.at(10).text.substr(0, 5), name.toStdString());
    EXPECT_EQ(preview.Pane->grab(QRect(ToQPoint(marks[10].label.topLeft()), QSize(1, 1))).toImage().pixel(0, 0),
              qRgb(0, 0, 0));
  }
  QApplication::setActiveWindow(&preview);
  QTest::keyClick(preview.Pane, Qt::Key_Escape);  // then Escape closes the window
  EXPECT_FALSE(preview.isVisible());
}

TEST_F(PreviewTest, ExportWritesThePictureOrLeavesNothing) {
  ArtworkPreview& preview = open();
  const std::string good = program_.file("out.png"), bad = program_.file("missing/out.png");
  for (const std::string& path : {good, bad}) dialogs_.saveChoices.push_back(choose(path));
  preview.ExportButton->click();
  EXPECT_EQ(FromQImage(QImage(QString::fromStdString(good))).convertToFormat(Image::Format_RGB32),
            preview.picture().convertToFormat(Image::Format_RGB32));
  EXPECT_EQ(dialogs_.saveShown.at(0).fileName, "Map32 summer.png");
  preview.ExportButton->click();
  EXPECT_EQ(dialogs_.errors, QStringList{QString::fromStdString("Cannot create file " + bad)});
  EXPECT_EQ(test::ListFolder(program_.path()), (std::vector<std::string>{"KXC2MAP.INI", "out.png"}));
}

TEST_F(PreviewTest, VariantsStayUntilTheWindowCloses) {
  Image tiles(765, 150, Image::Format_Indexed8);
  tiles.setColorTable(std::vector<Rgb>(256, MakeRgb(9, 9, 9)));
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 765; ++x) tiles.setPixel(x, y, uint((x + 3 * y) % 256));
  SaveBmp8(program_.file("ST50x45.bmp"), tiles);
  ArtworkPreview& preview = open();
  const VariantGrid drawn = preview.variants();
  EXPECT_TRUE(drawn[0] != drawn[1]);
  // Kept across the seasons: the model's test.
  EXPECT_EQ(preview.picture(), PaintMapPicture(form_->document().grid, 44, 39, TileSet(tiles), drawn));
  preview.close();
  EXPECT_TRUE(open().variants() != drawn);
}

}  // namespace
}  // namespace kxc2
