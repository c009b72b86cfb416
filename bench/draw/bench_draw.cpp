// Overlay drawing against a plain cell copy, on both pixel formats.
#include <QPainter>
#include <benchmark/benchmark.h>

#include "core/terrain.h"
#include "draw/builtin_pictures.h"
#include "draw/canvas.h"
#include "draw/line_raster.h"
#include "draw/overlays.h"

namespace kxc2 {
namespace {

Image Surface(bool indexed) {
  if (!indexed) {
    Image image(640, 480, Image::Format_RGB32);
    image.fill(MakeRgb(10, 20, 30));
    return image;
  }
  Image image(640, 480, Image::Format_Indexed8);
  image.setColorTable(SummerTilesPicture().colorTable());
  image.fill(1);
  return image;
}

MapGrid WaterAround(int column, int row) {
  MapGrid grid;
  for (int c = column - 1; c <= column + 1; ++c)
    for (int r = row - 1; r <= row + 1; ++r) grid.setTerrain(c, r, kRiver);
  return grid;
}

// range(0): 0 RGB32 view from the 8-bit atlas, 1 8-bit piece from the 8-bit
// atlas, 2 RGB32 view from an RGB32 copy of the atlas.
void BM_CopyCell44x50(benchmark::State& state) {
  Image target = Surface(state.range(0) == 1);
  Image tiles = MapTilesPicture();
  if (state.range(0) == 1) tiles.setColorTable(target.colorTable());
  if (state.range(0) == 2) tiles = tiles.convertToFormat(Image::Format_RGB32);
  Canvas canvas(target);
  int i = 0;
  for (auto _ : state) {
    const int t = i % 17;
    canvas.copyRect(Point(44 * (i % 14), 50 * (i / 14 % 9)), tiles, Rect(44 * (t % 5), 50 * (t / 5), 44, 50));
    ++i;
    benchmark::ClobberMemory();
  }
}

void BM_RoadSpokes255(benchmark::State& state) {
  Image target = Surface(state.range(0) != 0);
  Canvas canvas(target);
  int i = 0;
  for (auto _ : state) {
    DrawRoadSpokes(45 * (i % 13), 50 * (i / 13 % 9), 255, canvas, ColorFromBgr(0x0064E0F8));
    ++i;
    benchmark::ClobberMemory();
  }
}

void BM_RiverLinesSixNeighbours(benchmark::State& state) {
  Image target = Surface(state.range(0) != 0);
  Canvas canvas(target);
  const MapGrid grid = WaterAround(10, 10);
  int i = 0;
  for (auto _ : state) {
    DrawRiverLines(45 * (i % 13), 50 * (i / 13 % 9), 10, 10, 25, canvas, ColorFromBgr(0x00A4907C), grid);
    ++i;
    benchmark::ClobberMemory();
  }
}

// The view's zoomed-out redraw: 1800 cells of 12 x 12 from the 8-bit atlas.
void BM_ZoomedOutRedraw(benchmark::State& state) {
  Image view(616, 475, Image::Format_RGB32);
  const Image atlas = MapTiles2Picture();
  Canvas canvas(view);
  for (auto _ : state) {
    for (int row = 0; row < 40; ++row)
      for (int column = 0; column < 45; ++column) {
        const int t = (column * 7 + row * 3) % 17;
        canvas.copyRect(Point(12 * column, 12 * row - (column % 2 == 0 ? 6 : 0)), atlas,
                        Rect(12 * (t % 5), 12 * (t / 5), 12, 12));
      }
    benchmark::ClobberMemory();
  }
}

// The alternative the canvas does not take: a QPainter on a small Alpha8
// mask per line, whose pixels would then be written in the line's colour.
void BM_LineByPainterMask(benchmark::State& state) {
  const QPoint from(22, 25), to(45, 12);
  const int width = 5;
  for (auto _ : state) {
    const QRect box = QRect(from, to).normalized().adjusted(-width, -width, width, width);
    QImage mask(box.size(), QImage::Format_Alpha8);
    mask.fill(0);
    QPainter painter(&mask);
    painter.translate(-box.topLeft());
    painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    painter.end();
    benchmark::DoNotOptimize(mask.constBits());
  }
}

void BM_LineByCapsule(benchmark::State& state) {
  std::vector<LineSpan> spans;
  for (auto _ : state) {
    RasteriseLine({22, 25}, {45, 12}, 5, {640, 480}, spans);
    benchmark::DoNotOptimize(spans.data());
  }
}

BENCHMARK(BM_CopyCell44x50)->Arg(0)->Arg(1)->Arg(2)->ArgName("kind");
BENCHMARK(BM_RoadSpokes255)->Arg(0)->Arg(1)->ArgName("indexed");
BENCHMARK(BM_RiverLinesSixNeighbours)->Arg(0)->Arg(1)->ArgName("indexed");
BENCHMARK(BM_ZoomedOutRedraw);
BENCHMARK(BM_LineByPainterMask);
BENCHMARK(BM_LineByCapsule);

}  // namespace
}  // namespace kxc2

BENCHMARK_MAIN();
