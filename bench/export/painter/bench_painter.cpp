// Painting a busy 44 x 39 map (15 pieces) against the floor of merely
// saving the same 15 pieces from memory.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/map_grid.h"
#include "core/terrain.h"
#include "export/bmp_writer.h"
#include "export/map_painter.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"

namespace {

// Rivers and roads everywhere: most hexes are river terrain joined to water
// on every side, and every hex has all six roads.
kxc2::MapDocument BusyMap() {
  kxc2::MapDocument document;
  document.header = {45, 44, 39};
  std::mt19937 random(1);
  std::uniform_int_distribution<int> pick(0, 9);
  for (int column = 0; column < kxc2::kGridColumns; ++column)
    for (int row = 0; row < kxc2::kGridRows; ++row) {
      const int roll = pick(random);
      const int terrain = roll < 6 ? kxc2::kRiver : roll == 6 ? kxc2::kStream : roll == 7 ? kxc2::kOcean : roll;
      document.grid.setTerrain(column, row, static_cast<std::uint8_t>(terrain));
      document.grid.setRoadMask(column, row, 0xFF);
    }
  return document;
}

class Folder {
 public:
  Folder() {
    path_ = std::filesystem::temp_directory_path() / ("bench_painter_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_ / "UserBMP");
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  std::string game() const { return path_.string() + "/"; }
  std::string pieces() const { return path_.string() + "/UserBMP/"; }

 private:
  std::filesystem::path path_;
};

void BM_SaveFifteenPieces(benchmark::State& state) {
  const kxc2::MapDocument map = BusyMap();
  const kxc2::TileSet tiles = kxc2::BuiltinTileSet(false);
  const kxc2::PictureSize size = kxc2::MapPictureSize(44, 39);
  std::vector<std::pair<std::string, QImage>> pieces;
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
        const QImage piece = kxc2::PaintPiece(map.grid, tiles, {}, size, i, j);
        benchmark::DoNotOptimize(piece.constBits());
      }
}
BENCHMARK(BM_PaintFifteenPiecesInMemory)->Unit(benchmark::kMillisecond);

void BM_PreviewPicture(benchmark::State& state) {
  const kxc2::MapDocument map = BusyMap();
  const kxc2::TileSet tiles = kxc2::BuiltinTileSet(false);
  for (auto _ : state) {
    const QImage picture = kxc2::PaintMapPicture(map.grid, 44, 39, tiles, {});
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PreviewPicture)->Unit(benchmark::kMillisecond);

}  // namespace
