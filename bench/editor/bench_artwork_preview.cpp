// The Artwork Preview on the busy 44 x 39 map: opening it, and its update
// after one changed hex, both against the 16.7 ms of a frame. Floors: the
// painter's whole picture alone, and the window showing the same area again
// without any change.
#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "bench/editor/no_dialogs.h"
#include "bench/support/busy_maps.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editor/artwork_preview.h"
#include "export/map_picture.h"
#include "export/tile_set.h"

namespace kxc2 {
namespace {

// An editor showing the busy map, as after Open.
struct Editor {
  Editor() : form(dialogs, folder.path() + "/") {
    form.New1->trigger();
    form.document() = bench::PaintedBusyMap();
    emit form.mapReplaced();
  }
  QTemporaryDir folder;
  bench::NoDialogs dialogs;
  TForm1 form;
};

// What any opening costs at least: the picture painted once.
void BM_PaintBusyPicture(benchmark::State& state) {
  const MapDocument map = bench::PaintedBusyMap();
  const TileSet tiles = BuiltinTileSet(false);
  for (auto _ : state) {
    const Image picture = PaintMapPicture(map.grid, 44, 39, tiles, {});
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PaintBusyPicture)->Unit(benchmark::kMillisecond);

// From the menu command to the window's first picture on screen, and closed.
void BM_OpenPreviewOfBusyMap(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) {
    editor.form.ArtworkPreview1->trigger();
    auto* preview = editor.form.findChild<ArtworkPreview*>();
    preview->repaint();
    preview->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}
BENCHMARK(BM_OpenPreviewOfBusyMap)->Unit(benchmark::kMillisecond);

// A river hex in the middle of the busy map turned to Clear and back, one
// hexesChanged each, until the window has shown it. At 100 % the changed
// area shows at its largest.
struct OpenPreview {
  OpenPreview() : preview(ArtworkPreview::showFor(editor.form, editor.dialogs)) {
    preview.resize(1200, 900);
    preview.ZoomBox->setCurrentIndex(2);
    QCoreApplication::processEvents();
  }
  Editor editor;
  ArtworkPreview& preview;
};

constexpr QPoint kHex(12, 8);

void BM_UpdateAfterOneChangedHex(benchmark::State& state) {
  OpenPreview open;
  MapGrid& grid = open.editor.form.document().grid;
  int step = 0;
  for (auto _ : state) {
    grid.setTerrain(kHex.x(), kHex.y(), ++step % 2 == 0 ? kRiver : kClear);
    emit open.editor.form.hexesChanged({kHex});
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_UpdateAfterOneChangedHex)->Unit(benchmark::kMicrosecond);

// The floor of an update: the same area of the window shown again.
void BM_ShowTheSameAreaAgain(benchmark::State& state) {
  OpenPreview open;
  const Rect area = (TileRectInPicture(kHex.x() - 1, kHex.y() - 1) | TileRectInPicture(kHex.x() + 1, kHex.y() + 1))
                        .adjusted(-4, -4, 4, 4);
  for (auto _ : state) {
    open.preview.Pane->updatePictureRects({area});
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_ShowTheSameAreaAgain)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kxc2

