#include "tests/editor/view_test_support.h"

#include "draw/qt_bridge.h"
#include "editing/map_view.h"
#include "editor/Unit1.h"
#include "tests/editor/scripted_dialogs.h"

namespace kxc2::test {

QPoint HexCentre(const ViewState& view, int column, int row) {
  const Rect cell = CellRect(view, column, row);
  return ToQPoint(cell.topLeft() + Point(cell.width() / 2, cell.height() / 2));
}

QImage FramelessFullRedraw(const MapGrid& grid, ViewState view) { return ToQImage(FullRedrawImage(grid, view)); }

QImage WithSelectionFrame(QImage picture, const ViewState& view) {
  return ToQImage(FramedImage(FromQImage(picture), view));
}

::testing::AssertionResult SamePicture(const QImage& actual, const QImage& expected) {
  return SameImage(FromQImage(actual), FromQImage(expected));
}

std::unique_ptr<TForm1> StartedWindow(ScriptedDialogs& dialogs, const QString& folder) {
  auto form = std::make_unique<TForm1>(dialogs, folder);
  form->New1->trigger();
  return form;
}

}  // namespace kxc2::test
