// The map view's redraws and a pointer move, against one plain copy of the
// whole picture: thumb tracking redraws the full view at every step.
#include <QApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

#include "bench/editor/no_dialogs.h"
#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "draw/qt_bridge.h"
#include "editor/Unit1.h"
#include "editor/image_control.h"
#include "editing/map_view.h"
#include "tests/support/busy_map.h"

namespace kxc2 {
namespace {

using test::FillBusyMap;

// The view of a maximised 1920 x 1080 window.
constexpr QSize kMaximisedView{1741, 997};

struct ViewFixture {
  explicit ViewFixture(bool zoomedIn, QSize size = {kViewWidth, kViewHeight})
      : picture(size.width(), size.height(), Image::Format_RGB32),
        tiles(PrepareAtlas(MapTilesPicture())),
        tiles2(PrepareAtlas(MapTiles2Picture())),
        view{zoomedIn, 0, 0, 6, 5, true, size.width(), size.height()},
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
  const QSize size = state.range(0) ? kMaximisedView : QSize(kViewWidth, kViewHeight);
  QImage source(size, QImage::Format_RGB32);
  source.fill(Qt::darkGreen);
  QImage target(size, QImage::Format_RGB32);
  for (auto _ : state) {
    std::memcpy(target.bits(), source.constBits(), std::size_t(source.sizeInBytes()));
    benchmark::DoNotOptimize(target.constBits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyWholePicture)->Arg(0)->Arg(1);

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

// A maximised window: 39 x 20 hexes zoomed in, the map at scale 2 zoomed out.
void BM_RedrawMaximisedView(benchmark::State& state) {
  ViewFixture fixture(state.range(0) != 0, kMaximisedView);
  for (auto _ : state) {
    fixture.mapView.RedrawView();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RedrawMaximisedView)->Arg(1)->Arg(0);

// From the pointer's events to the view's last pixel on screen (the
// widget's paint included): a stroke across 40 hexes in one move, and a
// fill of a whole empty map. Undone outside the timing.
struct EditorFixture {
  EditorFixture() : form(dialogs, folder.path() + "/") {
    form.show();
    form.New1->trigger();
    form.ZoomOut1->trigger();
    form.TerrainList->setCurrentRow(kForest);
  }
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers = {}) {
    QMouseEvent event(type, QPointF(at), form.MapImage->mapToGlobal(QPointF(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, modifiers);
    QApplication::sendEvent(form.MapImage, &event);
  }
  QTemporaryDir folder;
  bench::NoDialogs dialogs;
  TForm1 form;
};

void BM_StrokeAcross40Hexes(benchmark::State& state) {
  EditorFixture fixture;
  const QPoint from = ToQPoint(CellRect(fixture.form.viewState(), 2, 20).center());
  const QPoint to = ToQPoint(CellRect(fixture.form.viewState(), 42, 20).center());
  for (auto _ : state) {
    fixture.mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    fixture.mouse(QEvent::MouseMove, to, Qt::LeftButton);
    fixture.mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton);
    fixture.form.MapImage->repaint();
    state.PauseTiming();
    fixture.form.Undo1->trigger();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StrokeAcross40Hexes);

void BM_FillWholeMap(benchmark::State& state) {
  EditorFixture fixture;
  const QPoint at = ToQPoint(CellRect(fixture.form.viewState(), 22, 20).center());
  for (auto _ : state) {
    fixture.mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::ShiftModifier);
    fixture.mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::ShiftModifier);
    fixture.form.MapImage->repaint();
    state.PauseTiming();
    fixture.form.Undo1->trigger();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FillWholeMap);

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

