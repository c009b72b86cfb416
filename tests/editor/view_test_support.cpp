#include "tests/editor/view_test_support.h"

#include "draw/builtin_pictures.h"
#include "draw/qt_bridge.h"
#include "editor/Unit1.h"
#include "editor/map_view.h"
#include "tests/editor/scripted_dialogs.h"

namespace kxc2::test {

QPoint HexCentre(const ViewState& view, int column, int row) {
  const QRect cell = CellRect(view, column, row);
  return cell.topLeft() + QPoint(cell.width() / 2, cell.height() / 2);
}

namespace {

struct OwnView {
  explicit OwnView(const MapGrid& grid, const ViewState& state, const QImage& start)
      : view(state),
        picture(FromQImage(start)),
        tiles(PrepareAtlas(MapTilesPicture())),
        tiles2(PrepareAtlas(MapTiles2Picture())),
        mapView(grid, view, picture, tiles, tiles2) {}
  ViewState view;
  Image picture;
  Image tiles;
  Image tiles2;
  MapView mapView;
};

QImage BlackPicture(const ViewState& view) {
  QImage picture(view.ViewWidth, view.ViewHeight, QImage::Format_RGB32);
  picture.fill(Qt::black);
  return picture;
}

}  // namespace

QImage FramelessFullRedraw(const MapGrid& grid, ViewState view) {
  view.SelectedColumn = view.SelectedRow = -1;
  OwnView own(grid, view, BlackPicture(view));
  own.mapView.RedrawView();
  return ToQImage(own.picture);
}

QImage FramelessHexRedraw(QImage picture, const MapGrid& grid, ViewState view, int column,
                          int row) {
  view.SelectedColumn = view.SelectedRow = -1;
  OwnView own(grid, view, std::move(picture));
  own.mapView.RedrawHex(column, row);
  return ToQImage(own.picture);
}

QImage WithSelectionFrame(QImage picture, const ViewState& view) {
  MapGrid unused;
  OwnView own(unused, view, std::move(picture));
  own.mapView.ToggleFocusRect(view.SelectedColumn, view.SelectedRow);
  return ToQImage(own.picture);
}

::testing::AssertionResult SamePicture(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size())
    return ::testing::AssertionFailure() << "sizes differ";
  int differing = 0;
  QPoint first;
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x)
      if ((actual.pixel(x, y) | 0xFF000000u) != (expected.pixel(x, y) | 0xFF000000u) &&
          differing++ == 0)
        first = {x, y};
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << differing << " pixels differ, first at (" << first.x() << ", " << first.y() << "): "
         << std::hex << actual.pixel(first) << " instead of " << expected.pixel(first);
}

QRgb AtlasPixel(bool zoomedIn, int code, int x, int y) {
  const Image atlas = zoomedIn ? MapTilesPicture() : MapTiles2Picture();
  const int width = zoomedIn ? 44 : 12;
  const int height = zoomedIn ? 50 : 12;
  return atlas.pixel(width * (code % 5) + x, height * (code / 5) + y) | 0xFF000000u;
}

std::unique_ptr<TForm1> StartedWindow(ScriptedDialogs& dialogs, const QString& folder) {
  auto form = std::make_unique<TForm1>(dialogs, folder);
  form->New1->trigger();
  return form;
}

}  // namespace kxc2::test
