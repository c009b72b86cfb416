#include "tests/editing/view_pictures.h"

#include "draw/builtin_pictures.h"
#include "editing/map_view.h"

namespace kxc2::test {
namespace {

struct OwnView {
  OwnView(const MapGrid& grid, const ViewState& state, Image start)
      : view(state),
        picture(std::move(start)),
        tiles(PrepareAtlas(MapTilesPicture())),
        tiles2(PrepareAtlas(MapTiles2Picture())),
        mapView(grid, view, picture, tiles, tiles2) {}
  ViewState view;
  Image picture;
  Image tiles;
  Image tiles2;
  MapView mapView;
};

}  // namespace

Image FullRedrawImage(const MapGrid& grid, ViewState view) {
  view.SelectedColumn = view.SelectedRow = -1;
  Image black(view.ViewWidth, view.ViewHeight, Image::Format_RGB32);
  black.fill(kBlackRgb);
  OwnView own(grid, view, std::move(black));
  own.mapView.RedrawView();
  return own.picture;
}

Image HexRedrawImage(Image picture, const MapGrid& grid, ViewState view, int column, int row) {
  view.SelectedColumn = view.SelectedRow = -1;
  OwnView own(grid, view, std::move(picture));
  own.mapView.RedrawHex(column, row);
  return own.picture;
}

Image FramedImage(Image picture, const ViewState& view) {
  MapGrid unused;
  OwnView own(unused, view, std::move(picture));
  own.mapView.ToggleFocusRect(view.SelectedColumn, view.SelectedRow);
  return own.picture;
}

::testing::AssertionResult SameImage(const Image& actual, const Image& expected) {
  if (actual.size() != expected.size()) return ::testing::AssertionFailure() << "sizes differ";
  int differing = 0;
  Point first;
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x)
      if ((actual.pixel(x, y) | 0xFF000000u) != (expected.pixel(x, y) | 0xFF000000u) && differing++ == 0)
        first = {x, y};
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, first at (" << first.x() << ", " << first.y()
                                       << "): " << std::hex << actual.pixel(first) << " instead of "
                                       << expected.pixel(first);
}

Rgb AtlasPixel(bool zoomedIn, int code, int x, int y) {
  const Image atlas = zoomedIn ? MapTilesPicture() : MapTiles2Picture();
  const int width = zoomedIn ? 44 : 12;
  const int height = zoomedIn ? 50 : 12;
  return atlas.pixel(width * (code % 5) + x, height * (code / 5) + y) | 0xFF000000u;
}

}  // namespace kxc2::test
