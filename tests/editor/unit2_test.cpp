#include "editor/Unit2.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct LabelCase {
  const char* name;
  const char* text;
  QPoint position;
  bool wrapped;
};

class TForm2Test : public ::testing::Test {
 protected:
  void showActive() {
    form.open();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  void typeInto(QSpinBox* spin, const QString& text) {
    spin->setFocus();
    spin->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), text);
  }
  TForm2 form;
};

TEST_F(TForm2Test, WindowLooks) {
  EXPECT_EQ(form.objectName(), "Form2");
  EXPECT_EQ(form.windowTitle(), "Set map parameters");
  EXPECT_EQ(form.size(), QSize(233, 324));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(255, 255, 0));
  EXPECT_TRUE(form.autoFillBackground());
  EXPECT_EQ(form.font().pixelSize(), 11);
  const Qt::WindowFlags flags = form.windowFlags();
  EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowMinMaxButtonsHint);
  EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
  EXPECT_TRUE(form.isModal());
  EXPECT_FALSE(form.isVisible());
}

TEST_F(TForm2Test, LabelsHaveTheirTextsAndPlaces) {
  const LabelCase cases[] = {
      {"Label5",
       "The column and row counts include an unplayable column/row at each side of the map; add 2 to the "
       "coordinates of the hex at the bottom right of the playable area",
       {14, 12}, true},
      {"Label1", "Columns (16 - 44)", {30, 77}, false},
      {"Label2", "Rows (11 - 39)", {29, 115}, false},
      {"Label4", "The map number links the map to its .BMP and .SHP files", {14, 147}, true},
      {"Label3", "Map number (32 - 99)", {29, 186}, false},
  };
  for (const LabelCase& c : cases) {
    auto* label = form.findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->text(), c.text) << c.name;
    EXPECT_EQ(label->pos(), c.position) << c.name;
    EXPECT_EQ(label->wordWrap(), c.wrapped) << c.name;
  }
  EXPECT_EQ(form.Label5->size(), QSize(206, 58));
  EXPECT_EQ(form.Label4->size(), QSize(202, 26));
}

TEST_F(TForm2Test, SpinEditsHaveRangesPlacesAndFirstValues) {
  struct SpinCase {
    QSpinBox* spin;
    const char* name;
    QRect bounds;
    int minimum, maximum, initial;
  };
  const SpinCase cases[] = {
      {form.SECols, "SECols", {167, 71, 50, 22}, 16, 44, 30},
      {form.SERows, "SERows", {167, 110, 50, 22}, 11, 39, 20},
      {form.SEMapno, "SEMapno", {167, 181, 50, 22}, 32, 99, 32},
  };
  for (const SpinCase& c : cases) {
    EXPECT_EQ(c.spin->objectName(), c.name);
    EXPECT_EQ(c.spin->geometry(), c.bounds) << c.name;
    EXPECT_EQ(c.spin->minimum(), c.minimum) << c.name;
    EXPECT_EQ(c.spin->maximum(), c.maximum) << c.name;
    EXPECT_EQ(c.spin->value(), c.initial) << c.name;
    c.spin->setValue(c.minimum - 1);
    EXPECT_EQ(c.spin->value(), c.minimum) << c.name;
    c.spin->setValue(c.maximum + 1);
    EXPECT_EQ(c.spin->value(), c.maximum) << c.name;
  }
}

TEST_F(TForm2Test, TerrtypeAndButtons) {
  EXPECT_EQ(form.Terrtype->objectName(), "Terrtype");
  EXPECT_EQ(form.Terrtype->title(), "Paint bitmaps using...");
  EXPECT_EQ(form.Terrtype->geometry(), QRect(57, 216, 119, 56));
  EXPECT_EQ(form.SummerTerrain->text(), "Summer terrain");
  EXPECT_EQ(form.WinterTerrain->text(), "Winter terrain");
  EXPECT_EQ(form.terrainIndex(), 0);
  form.setTerrainIndex(1);
  EXPECT_EQ(form.terrainIndex(), 1);
  EXPECT_FALSE(form.SummerTerrain->isChecked());

  EXPECT_EQ(form.BitBtn1->objectName(), "BitBtn1");
  EXPECT_EQ(form.BitBtn1->text(), "OK");
  EXPECT_EQ(form.BitBtn1->geometry(), QRect(17, 285, 75, 25));
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_EQ(form.BitBtn2->objectName(), "BitBtn2");
  EXPECT_EQ(form.BitBtn2->text(), "Cancel");
  EXPECT_EQ(form.BitBtn2->geometry(), QRect(141, 285, 75, 25));
  EXPECT_FALSE(form.BitBtn2->isDefault());
}

TEST_F(TForm2Test, PresetsAreBroughtIntoRange) {
  struct PresetCase {
    int columns, rows, shownColumns, shownRows;
  };
  const PresetCase cases[] = {{60, 5, 44, 11}, {44, 39, 44, 39}, {0, 65535, 16, 39}, {16, 11, 16, 11},
                              {25, 30, 25, 30}};
  for (const PresetCase& c : cases) {
    form.presetSize(c.columns, c.rows);
    EXPECT_EQ(form.SECols->value(), c.shownColumns) << c.columns;
    EXPECT_EQ(form.SERows->value(), c.shownRows) << c.rows;
    EXPECT_EQ(form.SEMapno->value(), 32);
  }
}

TEST_F(TForm2Test, TabOrderFollowsTheLayout) {
  showActive();
  EXPECT_EQ(QApplication::focusWidget(), form.SECols);
  const QWidget* expected[] = {form.SERows, form.SEMapno, form.SummerTerrain, form.BitBtn1, form.BitBtn2,
                               form.SECols};
  for (const QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next)
        << "got " << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
  }
  form.reject();
}

TEST_F(TForm2Test, EnterInASpinEditIsOkAndDeliversTheValues) {
  showActive();
  typeInto(form.SEMapno, "57");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.parameters(), (kxc2::MapHeader{57, 30, 20}));
}

TEST_F(TForm2Test, TypedNumberOutOfRangeBecomesTheNearestBound) {
  showActive();
  typeInto(form.SECols, "5");
  typeInto(form.SERows, "9");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.SECols->value(), 16);
  EXPECT_EQ(form.SERows->value(), 11);
}

TEST_F(TForm2Test, EscapeIsCancel) {
  showActive();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(TForm2Test, ButtonsCloseWithTheirResults) {
  showActive();
  QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Rejected);
  showActive();
  QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(TForm2Test, ClosingTheWindowOtherwiseIsRefused) {
  showActive();
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  form.reject();
}

TEST_F(TForm2Test, MapNumberKeptBetweenUses) {
  showActive();
  typeInto(form.SEMapno, "77");
  QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
  form.presetSize(40, 30);
  showActive();
  EXPECT_EQ(form.SEMapno->value(), 77);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(form.parameters(), (kxc2::MapHeader{77, 40, 30}));
}

TEST_F(TForm2Test, ShownCentredOnTheScreen) {
  showActive();
  const QRect screen = form.screen()->availableGeometry();
  EXPECT_LE(std::abs(form.frameGeometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(form.frameGeometry().center().y() - screen.center().y()), 1);
  form.reject();
}

}  // namespace
