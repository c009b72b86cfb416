// The main window at other sizes: the view, its bars and the controls
// follow (the view's own figures: tests/editing/view_size_test.cpp).
#include <QHeaderView>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "editing/map_view.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/editor/view_test_support.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::SizeCase;
using test::kSizes;

class WindowSizeTest : public ::testing::Test {
 protected:
  WindowSizeTest() : form(test::StartedWindow(dialogs, QString::fromStdString(folder.folder()))) {
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    test::FillBusyMap(form->document().grid);
    form->RedrawView();
    form->ToggleFocusRect(0, 0);
    first = form->size();
  }
  void expectPictureOfAFullRedraw() {
    const ViewState& view = form->viewState();
    EXPECT_TRUE(test::SamePicture(form->picture(), test::WithSelectionFrame(
                                                       test::FramelessFullRedraw(form->document().grid, view), view)));
  }

  test::TempDir folder;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  QSize first;
};

TEST_F(WindowSizeTest, TheViewGrowsWithTheWindowAndTheControlsKeepToTheRight) {
  const QPoint listAt = form->TerrainList->pos();
  for (const SizeCase& c : kSizes) {
    SCOPED_TRACE(c.name);
    const QSize view(c.view.width(), c.view.height());
    const QSize extra = view - QSize(616, 475);
    form->resize(first + extra);
    EXPECT_EQ(form->MapImage->geometry(), QRect(QPoint(7, 29), view));
    EXPECT_EQ(form->picture().size(), view);
    EXPECT_EQ(form->HScrollBar->geometry(), QRect(8, 505 + extra.height(), c.view.width(), 16));
    EXPECT_EQ(form->VScrollBar->geometry(), QRect(624 + extra.width(), 31, 16, c.view.height()));
    EXPECT_EQ(form->TerrainList->pos(), listAt + QPoint(extra.width(), 0));
    // The header's sections share its width, as at the first size (201 + 207 + 207 of 616).
    EXPECT_EQ(form->Header1->width(), c.view.width());
    EXPECT_EQ(form->Header1->length(), 615 + extra.width());
    EXPECT_EQ(form->Header1->sectionSize(0), 201 + extra.width() / 3);
    EXPECT_EQ(form->HScrollBar->maximum(), c.maxOriginColumn);
    EXPECT_EQ(form->VScrollBar->maximum(), c.maxOriginRow);
    EXPECT_EQ(form->HScrollBar->pageStep(), c.columns - 1);
    EXPECT_EQ(form->VScrollBar->pageStep(), c.rows - 1);
    expectPictureOfAFullRedraw();
  }
  EXPECT_EQ(form->minimumSize(), first);
}

TEST_F(WindowSizeTest, AnOriginPastTheNewRangeMovesBackWithTheBars) {
  form->HScrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
  form->VScrollBar->triggerAction(QAbstractSlider::SliderToMaximum);
  ASSERT_EQ(form->viewState().OriginColumn, 31);
  ASSERT_EQ(form->viewState().OriginRow, 30);
  form->resize(first + QSize(1125, 522));
  EXPECT_EQ(form->HScrollBar->value(), 6);
  EXPECT_EQ(form->VScrollBar->value(), 20);
  expectPictureOfAFullRedraw();
  // Back at the first size, the origin stays where it was put.
  form->resize(first);
  EXPECT_EQ(form->picture().size(), QSize(616, 475));
  EXPECT_EQ(form->viewState().OriginColumn, 6);
  expectPictureOfAFullRedraw();
}

// The bar's own context menu: "Scroll here" sets the value without an action.
TEST_F(WindowSizeTest, ScrollHereMovesTheView) {
  QScrollBar* bar = form->HScrollBar;
  QTimer::singleShot(0, [] {
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
  });
  const QPoint at(bar->width() * 3 / 4, bar->height() / 2);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
  QApplication::sendEvent(bar, &event);
  EXPECT_GT(bar->value(), 0);
  EXPECT_EQ(form->viewState().OriginColumn, bar->value());
  expectPictureOfAFullRedraw();
}

}  // namespace
}  // namespace kxc2
