// Painting a busy 44 x 39 map (15 pieces) against the floor of merely
// saving the same 15 pieces from memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/busy_maps.h"
#include "bench/support/temp_folder.h"
#include "core/map_grid.h"
#include "export/bmp_writer.h"
#include "export/map_painter.h"
#include "export/map_picture.h"
#include "export/memory_reuse.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"

namespace {

// As the programs do at their start.
const bool kFreedMemoryKept = (kxc2::KeepFreedMemoryForReuse(), true);

kxc2::MapDocument BusyMap() { return kxc2::bench::PaintedBusyMap(); }

class Folder {
 public:
  Folder() : root_("kxc2-bench-painter") { std::filesystem::create_directories(root_.path() / "UserBMP"); }
  std::string game() const { return root_.withSlash(); }
  std::string pieces() const { return root_.withSlash() + "UserBMP/"; }

 private:
  kxc2::bench::TempFolder root_;
};

void BM_SaveFifteenPieces(benchmark::State& state) {
  const kxc2::MapDocument map = BusyMap();
  const kxc2::TileSet tiles = kxc2::BuiltinTileSet(false);
  const kxc2::PictureSize size = kxc2::MapPictureSize(44, 39);
  std::vector<std::pair<std::string, kxc2::Image>> pieces;
  for (int i = 0; i < kxc2::PieceColumnCount(size); ++i)
    for (int j = 0; j < kxc2::PieceRowCount(size); ++j)
      pieces.emplace_back(kxc2::PieceFileName(45, i, j), kxc2::PaintPiece(map.grid, tiles, {}, size, i, j));
  const Folder folder;
  for (auto _ : state)
    for (const auto& [name, piece] : pieces) kxc2::SaveBmp8(folder.pieces() + name, piece);
}
BENCHMARK(BM_SaveFifteenPieces)->Unit(benchmark::kMillisecond);

void BM_PaintAndSaveFifteenPieces(benchmark::State& state) {
  const kxc2::MapDocument map = BusyMap();
  const Folder folder;
  kxc2::PaintRequest request;
  request.mapNumber = 45;
  request.columns = 44;
  request.rows = 39;
  request.gameFolder = folder.game();
  request.programFolder = folder.game();
  for (auto _ : state) {
    const auto result = kxc2::PaintMapBitmaps(map, request, [](const std::string&) { return true; });
    benchmark::DoNotOptimize(result.files.data());
  }
}
BENCHMARK(BM_PaintAndSaveFifteenPieces)->Unit(benchmark::kMillisecond);

// Painting alone, for the breakdown.
void BM_PaintFifteenPiecesInMemory(benchmark::State& state) {
  const kxc2::MapDocument map = BusyMap();
  const kxc2::TileSet tiles = kxc2::BuiltinTileSet(false);
  const kxc2::PictureSize size = kxc2::MapPictureSize(44, 39);
  for (auto _ : state)
    for (int i = 0; i < kxc2::PieceColumnCount(size); ++i)
      for (int j = 0; j < kxc2::PieceRowCount(size); ++j) {
        const kxc2::Image piece = kxc2::PaintPiece(map.grid, tiles, {}, size, i, j);
        benchmark::DoNotOptimize(piece.constBits());
      }
}
BENCHMARK(BM_PaintFifteenPiecesInMemory)->Unit(benchmark::kMillisecond);

void BM_PreviewPicture(benchmark::State& state) {
  const kxc2::MapDocument map = BusyMap();
  const kxc2::TileSet tiles = kxc2::BuiltinTileSet(false);
  for (auto _ : state) {
    const kxc2::Image picture = kxc2::PaintMapPicture(map.grid, 44, 39, tiles, {});
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PreviewPicture)->Unit(benchmark::kMillisecond);

}  // namespace
