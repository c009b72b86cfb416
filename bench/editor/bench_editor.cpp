// The map view's redraws and a pointer move, against one plain copy of the
// whole picture: thumb tracking redraws the full view at every step.
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/editor/no_dialogs.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editor/map_view.h"
#include "tests/support/busy_map.h"

namespace kxc2 {
namespace {

using test::FillBusyMap;

struct ViewFixture {
  explicit ViewFixture(bool zoomedIn)
      : picture(kViewWidth, kViewHeight, Image::Format_RGB32),
        tiles(PrepareAtlas(MapTilesPicture())),
        tiles2(PrepareAtlas(MapTiles2Picture())),
        view{zoomedIn, 0, 0, 6, 5, true},
        mapView(grid, view, picture, tiles, tiles2) {
    FillBusyMap(grid);
    picture.fill(MakeRgb(0, 0, 0));
  }
  MapGrid grid;
  Image picture;
  Image tiles;
  Image tiles2;
  ViewState view;
  MapView mapView;
};

void BM_CopyWholePicture(benchmark::State& state) {
  QImage source(kViewWidth, kViewHeight, QImage::Format_RGB32);
  source.fill(Qt::darkGreen);
  QImage target(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    std::memcpy(target.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
    benchmark::DoNotOptimize(target.constBits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyWholePicture);

void BM_RedrawViewZoomedOut(benchmark::State& state) {
  ViewFixture fixture(false);
  for (auto _ : state) {
    fixture.mapView.RedrawView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawViewZoomedOut);

void BM_RedrawViewZoomedIn(benchmark::State& state) {
  ViewFixture fixture(true);
  // The window over the river bands, where most lines are drawn.
  fixture.view.OriginColumn = 3;
  fixture.view.OriginRow = 10;
  for (auto _ : state) {
    fixture.mapView.RedrawView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawViewZoomedIn);

void BM_RedrawHexZoomedIn(benchmark::State& state) {
  ViewFixture fixture(true);
  fixture.grid.setTerrain(6, 5, kRiver);
  fixture.grid.setRoadMask(6, 5, 0xFF);
  for (auto _ : state) {
    fixture.mapView.RedrawHex(6, 5);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawHexZoomedIn);

// The pointer crossing the view: hex lookup and the header caption.
void BM_MouseMoveOverTheView(benchmark::State& state) {
  QTemporaryDir folder;
  bench::NoDialogs dialogs;
  TForm1 form(dialogs, folder.path() + "/");
  form.New1->trigger();
  FillBusyMap(form.document().grid);
  int step = 0;
  for (auto _ : state) {
    ++step;
    const QPointF at((step * 37) % kViewWidth, (step * 13) % kViewHeight);
    QMouseEvent event(QEvent::MouseMove, at, form.MapImage->mapToGlobal(at), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form.MapImage, &event);
  }
}
BENCHMARK(BM_MouseMoveOverTheView);

}  // namespace
}  // namespace kxc2

