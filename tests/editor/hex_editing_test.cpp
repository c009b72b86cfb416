#include <QApplication>
#include <cctype>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "core/road_mask.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editor/road_box.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::HexCentre;

// A window with a fresh map, shown, with the focus where start-up puts it.
class HexEditingTest : public ::testing::Test {
 protected:
  HexEditingTest() : form(dialogs, QString::fromStdString(folder.folder())) {
    form.show();
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    form.New1->trigger();
    expected = test::FramelessFullRedraw(grid(), view());
  }

  MapGrid& grid() { return form.document().grid; }
  const ViewState& view() { return form.viewState(); }

  void release(Qt::MouseButton button, QPoint at) {
    QTest::mouseClick(form.MapImage, button, Qt::NoModifier, at);
  }
  void releaseOn(Qt::MouseButton button, int column, int row) {
    release(button, HexCentre(view(), column, row));
  }
  void moveTo(QPoint at) {
    QMouseEvent event(QEvent::MouseMove, at, form.MapImage->mapToGlobal(at), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.MapImage, &event);
  }
  void type(char key) { QTest::keyClick(QApplication::focusWidget(), key); }
  void clickBox(QCheckBox* box, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(box, button, Qt::NoModifier, QPoint(3, box->height() / 2));
  }
  std::uint8_t roadBoxes() const {
    const QCheckBox* boxes[] = {form.Road1, form.Road2, form.Road3,
                                form.Road4, form.Road5, form.Road6};
    std::uint8_t mask = 0;
    for (int i = 0; i < 6; ++i)
      if (boxes[i]->isChecked()) mask |= kRoadBoxBits[std::size_t(i)];
    return mask;
  }
  // The picture, given which hex the last event repainted, shows the frame
  // exactly once, around the selection.
  void expectRepainted(int column, int row) {
    expected = test::FramelessHexRedraw(expected, grid(), view(), column, row);
    expectFrameOnce();
  }
  void expectFrameOnce() {
    EXPECT_TRUE(test::SamePicture(form.picture(), test::WithSelectionFrame(expected, view())));
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  TForm1 form;
  QImage expected;  // the view without a frame
};

TEST_F(HexEditingTest, LeftButtonPaintsTheListTerrainAndKeepsRoads) {
  grid().setRoadMask(3, 2, kRoadNorth | kRoadSouth);
  form.TerrainList->setCurrentRow(kCity);
  releaseOn(Qt::LeftButton, 3, 2);
  EXPECT_EQ(grid().terrain(3, 2), kCity);
  EXPECT_EQ(grid().roadMask(3, 2), kRoadNorth | kRoadSouth);
  EXPECT_EQ(view().SelectedColumn, 3);
  EXPECT_EQ(view().SelectedRow, 2);
  EXPECT_TRUE(view().SelectionValid);
  EXPECT_EQ(roadBoxes(), kRoadNorth | kRoadSouth);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 03, 02 ) City ");
  expectRepainted(3, 2);
  // The other bytes of the record are carried untouched.
  EXPECT_EQ(grid().record(3, 2), (HexRecord{kCity, 0, kRoadNorth | kRoadSouth, 0, 0, 0, 0}));
}

TEST_F(HexEditingTest, PaintingOceanClearsRoads) {
  grid().setRoadMask(5, 5, 0xFF);
  form.TerrainList->setCurrentRow(kOcean);
  releaseOn(Qt::LeftButton, 5, 5);
  EXPECT_EQ(grid().terrain(5, 5), kOcean);
  EXPECT_EQ(grid().roadMask(5, 5), 0);
  EXPECT_EQ(roadBoxes(), 0);
  expectRepainted(5, 5);
}

TEST_F(HexEditingTest, LeftButtonWithoutLmbPicksInsteadOfPainting) {
  grid().setTerrain(4, 1, kForest);
  grid().setRoadMask(4, 1, kRoadSouthWest);
  clickBox(form.LMBCheck);
  ASSERT_FALSE(form.LMBCheck->isChecked());
  releaseOn(Qt::LeftButton, 4, 1);
  EXPECT_EQ(grid().terrain(4, 1), kForest);
  EXPECT_EQ(form.TerrainList->currentRow(), kForest);
  EXPECT_EQ(roadBoxes(), kRoadSouthWest);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 04, 01 ) Forest ");
  expectRepainted(4, 1);
}

TEST_F(HexEditingTest, RightButtonPicksWithoutRepainting) {
  grid().setTerrain(7, 3, kSwamp);
  grid().setRoadMask(7, 3, kRoadNorthEast | kRoadNorthWest | 4);
  releaseOn(Qt::RightButton, 7, 3);
  EXPECT_EQ(form.TerrainList->currentRow(), kSwamp);
  EXPECT_EQ(roadBoxes(), kRoadNorthEast | kRoadNorthWest);
  EXPECT_EQ(grid().roadMask(7, 3), kRoadNorthEast | kRoadNorthWest | 4);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 07, 03 ) Swamp ");
  // The hex still shows the Clear tile it had: no repaint.
  expectFrameOnce();
}

TEST_F(HexEditingTest, MiddleButtonOnlySelects) {
  grid().setRoadMask(1, 1, kRoadSouth);
  releaseOn(Qt::RightButton, 1, 1);
  grid().setTerrain(2, 4, kHill);
  releaseOn(Qt::MiddleButton, 2, 4);
  EXPECT_EQ(view().SelectedColumn, 2);
  EXPECT_EQ(view().SelectedRow, 4);
  EXPECT_EQ(form.TerrainList->currentRow(), kClear);
  EXPECT_EQ(roadBoxes(), kRoadSouth);
  EXPECT_EQ(grid().terrain(2, 4), kHill);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 02, 04 ) Hill ");
  expectFrameOnce();
  // The next key writes the boxes of the hex picked before into this one.
  type('x');
  EXPECT_EQ(grid().roadMask(2, 4), kRoadSouth);
  expectRepainted(2, 4);
}

TEST_F(HexEditingTest, PointerMoveWritesTheCursorCaptionOnly) {
  grid().setTerrain(13, 9, kRough);
  const QImage before = form.picture();
  moveTo({615, 474});
  EXPECT_EQ(form.headerSection(2), "Cursor at: ( 13, 09 ) Rough ");
  moveTo({-30, 600});
  EXPECT_EQ(form.headerSection(2), "Cursor at: ( 00, 12 ) Clear ");
  EXPECT_TRUE(test::SamePicture(form.picture(), before));
  EXPECT_EQ(view().SelectedColumn, 0);
  EXPECT_EQ(view().SelectedRow, 0);
}

TEST_F(HexEditingTest, RealPointerMoveReachesTheHandler) {
  QTest::mouseMove(form.MapImage, HexCentre(view(), 5, 6));
  EXPECT_EQ(form.headerSection(2), "Cursor at: ( 05, 06 ) Clear ");
}

TEST_F(HexEditingTest, HexesBeyondTheMapSizeAreEditedLikeAnyOther) {
  form.document().header.columns = 16;
  form.document().header.rows = 11;
  form.ZoomOut1->trigger();
  expected = test::FramelessFullRedraw(grid(), view());
  form.TerrainList->setCurrentRow(kMountain);
  release(Qt::LeftButton, {600, 474});  // the black strip: column 44
  EXPECT_EQ(grid().terrain(44, 39), kMountain);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 44, 39 ) Mountain ");
  expectRepainted(44, 39);
}

TEST_F(HexEditingTest, RoadKeysToggleTheirBoxInEitherCase) {
  struct Key {
    char lower;
    std::uint8_t bit;
  };
  const Key keys[] = {{'e', kRoadNorth},    {'r', kRoadNorthEast}, {'f', kRoadSouthEast},
                      {'d', kRoadSouth},    {'s', kRoadSouthWest}, {'w', kRoadNorthWest}};
  releaseOn(Qt::MiddleButton, 6, 6);
  std::uint8_t mask = 0;
  for (const Key& key : keys) {
    type(key.lower);
    mask ^= key.bit;
    EXPECT_EQ(grid().roadMask(6, 6), mask) << key.lower;
    EXPECT_EQ(roadBoxes(), mask) << key.lower;
    expectRepainted(6, 6);
  }
  EXPECT_EQ(mask, 0xBB);
  for (const Key& key : keys) {
    type(char(std::toupper(key.lower)));
    mask ^= key.bit;
    EXPECT_EQ(grid().roadMask(6, 6), mask) << key.lower;
    expectRepainted(6, 6);
  }
  EXPECT_EQ(mask, 0);
}

TEST_F(HexEditingTest, OtherCharactersWriteTheBoxesAndClearBitsTwoAndSix) {
  grid().setRoadMask(2, 2, 0xFF);
  releaseOn(Qt::RightButton, 2, 2);
  for (const char key : {'1', 'q', '.'}) {
    type(key);
    EXPECT_EQ(grid().roadMask(2, 2), 0xBB) << key;
    expectRepainted(2, 2);
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(grid().roadMask(2, 2), 0xBB);
  expectRepainted(2, 2);
}

TEST_F(HexEditingTest, KeysBeforeAnySelectionDoNothing) {
  TForm1 fresh(dialogs, QString::fromStdString(folder.folder()));
  const QImage before = fresh.picture();
  QTest::keyClick(fresh.Road1, 'e');
  EXPECT_FALSE(fresh.Road1->isChecked());
  EXPECT_TRUE(test::SamePicture(fresh.picture(), before));
  clickBox(fresh.Road2);
  EXPECT_TRUE(fresh.Road2->isChecked());
  EXPECT_EQ(fresh.document().grid, MapGrid{});
  EXPECT_TRUE(test::SamePicture(fresh.picture(), before));
}

TEST_F(HexEditingTest, TheCharacterGoesOnToTheFocusedControl) {
  form.TerrainList->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), form.TerrainList);
  type('1');  // the list's own search jumps to "10 River"
  EXPECT_EQ(form.TerrainList->currentRow(), kRiver);
  EXPECT_EQ(grid().roadMask(0, 0), 0);
  expectRepainted(0, 0);
}

// The handler sees each character once, wherever in the window the focus
// is: a second look would toggle the box back.
TEST_F(HexEditingTest, EveryFocusPlaceSendsEachCharacterToTheKeyHandlerOnce) {
  releaseOn(Qt::MiddleButton, 6, 6);
  QWidget* const places[] = {&form, form.TerrainList, form.Road3, form.LMBCheck};
  std::uint8_t mask = 0;
  for (QWidget* place : places) {
    place->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), place) << place->objectName().toStdString();
    for (const char key : {'e', 'E'}) {
      type(key);
      mask ^= kRoadNorth;
      EXPECT_EQ(grid().roadMask(6, 6), mask) << place->objectName().toStdString() << key;
      EXPECT_EQ(roadBoxes(), mask) << place->objectName().toStdString() << key;
      expectRepainted(6, 6);
    }
  }
  // The blank still reaches the focused box after the handler ran.
  type(' ');
  EXPECT_FALSE(form.LMBCheck->isChecked());
  expectRepainted(6, 6);
}

TEST_F(HexEditingTest, AControlAddedLaterHasItsCharactersSeenFirstAndStillGetsThem) {
  releaseOn(Qt::MiddleButton, 6, 6);
  auto* edit = new QLineEdit(form.centralWidget());
  edit->show();
  edit->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), edit);
  type('w');
  EXPECT_EQ(edit->text(), "w");
  EXPECT_EQ(grid().roadMask(6, 6), kRoadNorthWest);
  expectRepainted(6, 6);
}

TEST_F(HexEditingTest, SpaceOnAFocusedBoxWritesTheBoxesAsTheyWere) {
  ASSERT_EQ(QApplication::focusWidget(), form.Road1);
  type(' ');
  EXPECT_TRUE(form.Road1->isChecked());
  EXPECT_EQ(grid().roadMask(0, 0), 0);
  expectRepainted(0, 0);
  type('x');
  EXPECT_EQ(grid().roadMask(0, 0), kRoadNorth);
  expectRepainted(0, 0);
}

TEST_F(HexEditingTest, ClickingRoadBoxesWritesTheWholeMask) {
  grid().setTerrain(3, 3, kOcean);
  grid().setRoadMask(3, 3, 4 | 64);
  releaseOn(Qt::RightButton, 3, 3);
  expectFrameOnce();
  const std::pair<QCheckBox*, std::uint8_t> boxes[] = {
      {form.Road6, kRoadNorthWest}, {form.Road1, kRoadNorth}, {form.Road2, kRoadNorthEast},
      {form.Road3, kRoadSouthEast}, {form.Road4, kRoadSouth}, {form.Road5, kRoadSouthWest}};
  std::uint8_t mask = 0;
  for (const auto& [box, bit] : boxes) {
    clickBox(box);
    mask |= bit;
    EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_EQ(grid().roadMask(3, 3), mask) << box->objectName().toStdString();
    expectRepainted(3, 3);
  }
  // Ocean keeps roads set with the boxes; the single-hex redraw shows none.
  EXPECT_EQ(form.picture().pixel(HexCentre(view(), 3, 3) - QPoint(0, 15)), test::kOceanRgb);
  // A right click on a box changes nothing in it but applies it again.
  grid().setRoadMask(3, 3, 0);
  clickBox(form.Road1, Qt::RightButton);
  EXPECT_EQ(grid().roadMask(3, 3), 0xBB);
  expectRepainted(3, 3);
}

TEST_F(HexEditingTest, UnknownTerrainReadsUnknownAndIsNeverPaintedOver) {
  grid().setTerrain(3, 4, 200);
  grid().setRoadMask(3, 4, kRoadSouth);
  moveTo(HexCentre(view(), 3, 4));
  EXPECT_EQ(form.headerSection(2), "Cursor at: ( 03, 04 ) Unknown (200) ");

  releaseOn(Qt::RightButton, 3, 4);
  EXPECT_EQ(form.TerrainList->currentRow(), -1);
  EXPECT_TRUE(form.TerrainList->selectedItems().isEmpty());
  EXPECT_EQ(roadBoxes(), kRoadSouth);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 03, 04 ) Unknown (200) ");
  expectFrameOnce();

  // Without a current item the left button selects and repaints only.
  releaseOn(Qt::LeftButton, 5, 5);
  EXPECT_EQ(grid().terrain(5, 5), kClear);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 05, 05 ) Clear ");
  expectRepainted(5, 5);
  releaseOn(Qt::LeftButton, 3, 4);
  EXPECT_EQ(grid().terrain(3, 4), 200);
  EXPECT_EQ(grid().roadMask(3, 4), kRoadSouth);
  expectRepainted(3, 4);

  // Choosing an item makes the left button paint again.
  QTest::mouseClick(form.TerrainList->viewport(), Qt::LeftButton, Qt::NoModifier,
                    form.TerrainList->visualItemRect(form.TerrainList->item(kSand)).center());
  releaseOn(Qt::LeftButton, 3, 4);
  EXPECT_EQ(grid().terrain(3, 4), kSand);
  expectRepainted(3, 4);
}

// Ctrl with a click or the blank would take the list's only selection away;
// the chosen terrain stays chosen and painted.
TEST_F(HexEditingTest, CtrlOnTheChosenTerrainKeepsItChosenForPainting) {
  QListWidget& list = *form.TerrainList;
  const QPoint forest = list.visualItemRect(list.item(kForest)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, forest);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, forest);
  EXPECT_EQ(list.currentRow(), kForest);
  EXPECT_EQ(list.selectedItems(), QList<QListWidgetItem*>{list.item(kForest)});
  releaseOn(Qt::LeftButton, 4, 4);
  EXPECT_EQ(grid().terrain(4, 4), kForest);
  EXPECT_EQ(form.headerSection(1), "Selected: ( 04, 04 ) Forest ");
  expectRepainted(4, 4);

  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                    list.visualItemRect(list.item(kHill)).center());
  ASSERT_EQ(list.selectedItems(), QList<QListWidgetItem*>{list.item(kHill)});
  QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
  expectRepainted(4, 4);  // the blank writes the boxes into the selection
  EXPECT_EQ(list.currentRow(), kHill);
  EXPECT_EQ(list.selectedItems(), QList<QListWidgetItem*>{list.item(kHill)});
  releaseOn(Qt::LeftButton, 5, 4);
  EXPECT_EQ(grid().terrain(5, 4), kHill);
  expectRepainted(5, 4);
}

TEST_F(HexEditingTest, FrameFollowsTheSelectionAcrossMixedEvents) {
  form.TerrainList->setCurrentRow(kRiver);
  releaseOn(Qt::LeftButton, 1, 1);
  expectRepainted(1, 1);
  releaseOn(Qt::MiddleButton, 1, 2);
  expectFrameOnce();
  releaseOn(Qt::RightButton, 1, 1);
  expectFrameOnce();
  releaseOn(Qt::LeftButton, 1, 2);
  expectRepainted(1, 2);
  type('e');
  expectRepainted(1, 2);
  clickBox(form.Road4);
  expectRepainted(1, 2);
  // Only the painted hex is repainted: (1, 1)'s river line towards (1, 2)
  // appears at the next full redraw.
  const QPoint northOfCentre = HexCentre(view(), 1, 1) + QPoint(0, 18);
  EXPECT_NE(form.picture().pixel(northOfCentre), test::kRiverRgb);
  form.ZoomIn1->trigger();
  EXPECT_EQ(form.picture().pixel(northOfCentre), test::kRiverRgb);
}

}  // namespace
}  // namespace kxc2
