// Undo and redo of a change to every hex, against one full redraw of the
// view; and the pauses in painting with and without the recovery copy being
// written after every click.
#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

#include "bench/editor/no_dialogs.h"
#include "core/terrain.h"
#include "editor/Unit1.h"
#include "editing/map_view.h"
#include "editing/recovery_keeper.h"
#include "tests/support/busy_map.h"

namespace kxc2 {
namespace {

using namespace std::chrono_literals;

// An editor over the busy map at one zoom level.
struct Editor {
  explicit Editor(bool zoomedIn) : form(dialogs, folder.path() + "/") {
    form.New1->trigger();
    test::FillBusyMap(form.document().grid);
    zoomedIn ? form.ZoomIn1->trigger() : form.ZoomOut1->trigger();
  }
  QTemporaryDir folder;
  bench::NoDialogs dialogs;
  TForm1 form;
};

const char* ZoomLabel(const benchmark::State& state) {
  return state.range(0) != 0 ? "zoomed in" : "zoomed out";
}

void BM_UndoRedoEveryHex(benchmark::State& state) {
  Editor editor(state.range(0) != 0);
  MapGrid& grid = editor.form.document().grid;
  HexChange change("Fill");
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row) {
      HexRecord record = PaintedRecord(grid.record(column, row), kStream);
      record[6] ^= 0x5A;  // every hex changes, whatever it held
      change.set(grid, column, row, record);
    }
  editor.form.applyHexChange(std::move(change));
  EditHistory& history = editor.form.history();
  for (auto _ : state) {
    history.undo();
    history.redo();
  }
  state.counters["hexes"] = double(history.step(0).edits().size());
  state.counters["stack_bytes"] = double(history.heldBytes());
  state.SetLabel(ZoomLabel(state));
}
BENCHMARK(BM_UndoRedoEveryHex)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The floor: one full redraw of the same view.
void BM_FullRedrawFloor(benchmark::State& state) {
  Editor editor(state.range(0) != 0);
  for (auto _ : state) editor.form.RedrawView();
  state.SetLabel(ZoomLabel(state));
}
BENCHMARK(BM_FullRedrawFloor)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// One click painting a hex, then the event loop's turn, in which the copy is
// written when its timer is due (argument 1: after every click; 0: never).
// Every click changes its hex: each sweep over the window paints the other terrain.
void BM_PaintingPause(benchmark::State& state) {
  const bool writing = state.range(0) != 0;
  Editor editor(true);
  editor.form.recovery().setDelays(writing ? 0ms : 1h, 1h);
  constexpr int kHexesSwept = kWindowColumns * (kWindowRows - 1);
  std::vector<double> pauses;
  int step = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    editor.form.TerrainList->setCurrentRow(step / kHexesSwept % 2 != 0 ? kCity : kSand);
    const int hex = step % kHexesSwept;
    editor.form.MapImageMouseUp(Qt::LeftButton, QPoint(22 + 44 * (hex % kWindowColumns),
                                                       40 + 50 * (hex / kWindowColumns)));
    QCoreApplication::processEvents();
    pauses.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    ++step;
  }
  std::sort(pauses.begin(), pauses.end());
  state.counters["longest_ms"] = pauses.back();
  state.counters["median_ms"] = pauses[pauses.size() / 2];
  state.counters["p99_ms"] = pauses[pauses.size() * 99 / 100];
  state.SetLabel(writing ? "copy after every click" : "no copy");
}
BENCHMARK(BM_PaintingPause)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The whole write, waited for: both files, each synced and renamed. The
// editor's own thread pays only for the snapshot.
void BM_RecoveryWrite(benchmark::State& state) {
  Editor editor(true);
  for (auto _ : state) {
    editor.form.recovery().writeNow();
    editor.form.recovery().waitForWrites();
  }
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kxc2
