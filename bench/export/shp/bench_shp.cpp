// The SHP row encoder against memcpy of the same bytes, and the whole
// conversion of one map's 15 pieces against reading and writing its bytes.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <cstring>
#include <filesystem>
#include <random>

#include "bench/support/busy_maps.h"
#include "bench/support/temp_folder.h"
#include "core/atomic_file.h"
#include "core/map_file.h"
#include "core/map_grid.h"
#include "export/map_painter.h"
#include "export/memory_reuse.h"
#include "export/shp_conversion.h"
#include "export/shp_encoder.h"
#include "export/shp_file.h"
#include "export/shp_indexed_bitmap.h"
#include "export/shp_source_bitmap.h"

namespace {

// As the programs do at their start.
const bool kFreedMemoryKept = (kxc2::KeepFreedMemoryForReuse(), true);

namespace fs = std::filesystem;
using kxc2::IndexedBitmap;

constexpr int kPieceWidth = 640;
constexpr int kPieceHeight = 480;
constexpr int kPieces = 15;

kxc2::MapDocument BusyMap() { return kxc2::bench::PaintedBusyMap(); }

kxc2::MapDocument CoastSample() {
  kxc2::MapDocument document;
  kxc2::ReadMapFile(KXC2_SOURCE_DIR "/samples/coast44x39.map", document);
  return document;
}

IndexedBitmap RandomPiece() {
  std::mt19937 random(7);
  IndexedBitmap image;
  image.width = kPieceWidth;
  image.height = kPieceHeight;
  image.pixels.resize(image.width * image.height);
  for (auto& pixel : image.pixels) pixel = static_cast<std::uint8_t>(random());
  return image;
}

std::size_t PixelCount(const std::vector<IndexedBitmap>& images) {
  std::size_t count = 0;
  for (const auto& image : images) count += image.pixels.size();
  return count;
}

void EncodeRows(benchmark::State& state, const std::vector<IndexedBitmap>& images) {
  std::vector<std::uint8_t> out(kxc2::ShpRowBound(kPieceWidth));
  std::size_t encoded = 0;
  for (auto _ : state) {
    for (const auto& image : images)
      for (std::size_t y = 0; y < image.height; ++y) encoded += kxc2::EncodeShpRow(image.row(y), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  const auto pixels = static_cast<std::int64_t>(state.iterations() * PixelCount(images));
  state.SetBytesProcessed(pixels);
  state.counters["out/in"] = static_cast<double>(encoded) / static_cast<double>(pixels);
}

// The baseline: the same rows copied into a row buffer.
void CopyRows(benchmark::State& state, const std::vector<IndexedBitmap>& images) {
  std::vector<std::uint8_t> out(kPieceWidth);
  for (auto _ : state) {
    for (const auto& image : images)
      for (std::size_t y = 0; y < image.height; ++y) std::memcpy(out.data(), image.row(y).data(), image.width);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * PixelCount(images)));
}

class PieceFolder;
PieceFolder& BusyPieces();
PieceFolder& CoastPieces();
const std::vector<IndexedBitmap>& RandomPieces() {
  static const std::vector<IndexedBitmap> pieces(1, RandomPiece());
  return pieces;
}

// The 15 pieces of a map painted by the painter into a temporary game folder.
class PieceFolder {
 public:
  explicit PieceFolder(const kxc2::MapDocument& map) {
    fs::create_directories(root_.path() / "UserBMP");
    fs::create_directories(root_.path() / "UserMap");
    kxc2::PaintRequest request;
    request.mapNumber = 45;
    request.columns = map.header.columns;
    request.rows = map.header.rows;
    request.gameFolder = gameFolder();
    request.programFolder = gameFolder();
    request.seed = 1;
    bitmaps_ = kxc2::PaintMapBitmaps(map, request, [](const std::string&) { return true; }).files;
    for (const std::string& path : bitmaps_) {
      pieces_.push_back(kxc2::LoadBitmapForShp(path));
      shpSizes_.push_back(kxc2::EncodeShpFile(pieces_.back()).size());
    }
  }

  const std::vector<std::string>& bitmaps() const { return bitmaps_; }
  const std::vector<IndexedBitmap>& pieces() const { return pieces_; }
  std::size_t shpSize(int i) const { return shpSizes_[static_cast<std::size_t>(i)]; }
  std::string gameFolder() const { return root_.withSlash(); }
  std::string scratch(int i) const { return root_.file("UserMap/floor" + std::to_string(i)); }

 private:
  kxc2::bench::TempFolder root_{"kxc2-bench-shp"};
  std::vector<std::string> bitmaps_;
  std::vector<IndexedBitmap> pieces_;
  std::vector<std::size_t> shpSizes_;
};

PieceFolder& BusyPieces() {
  static PieceFolder folder(BusyMap());
  return folder;
}

PieceFolder& CoastPieces() {
  static PieceFolder folder(CoastSample());
  return folder;
}

void BM_ConvertFifteenPieces(benchmark::State& state) {
  PieceFolder& pieces = BusyPieces();
  std::size_t written = 0;
  for (auto _ : state) {
    const auto result =
        kxc2::ConvertBitmapsToShp(pieces.bitmaps(), pieces.gameFolder(), [](const std::string&) { return true; });
    written = 0;
    for (const auto& path : result.written) written += fs::file_size(path);
  }
  state.counters["shp_bytes"] = static_cast<double>(written);
}

// The floor: read every BMP and write as many bytes as the conversion
// writes, through the same safe write.
void BM_IoFloorFifteenPieces(benchmark::State& state) {
  PieceFolder& pieces = BusyPieces();
  for (auto _ : state) {
    for (int i = 0; i < kPieces; ++i) {
      std::ifstream file(pieces.bitmaps()[static_cast<std::size_t>(i)], std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
      benchmark::DoNotOptimize(bytes.data());
      kxc2::WriteFileAtomically(pieces.scratch(i), bytes.data(), std::min<std::size_t>(pieces.shpSize(i), bytes.size()));
    }
  }
}

void BM_EncodeBusyMapRows(benchmark::State& state) { EncodeRows(state, BusyPieces().pieces()); }
void BM_MemcpyBusyMapRows(benchmark::State& state) { CopyRows(state, BusyPieces().pieces()); }
void BM_EncodeCoastMapRows(benchmark::State& state) { EncodeRows(state, CoastPieces().pieces()); }
void BM_MemcpyCoastMapRows(benchmark::State& state) { CopyRows(state, CoastPieces().pieces()); }
void BM_EncodeRandomRows(benchmark::State& state) { EncodeRows(state, RandomPieces()); }
void BM_MemcpyRandomRows(benchmark::State& state) { CopyRows(state, RandomPieces()); }
BENCHMARK(BM_EncodeBusyMapRows);
BENCHMARK(BM_MemcpyBusyMapRows);
BENCHMARK(BM_EncodeCoastMapRows);
BENCHMARK(BM_MemcpyCoastMapRows);
BENCHMARK(BM_EncodeRandomRows);
BENCHMARK(BM_MemcpyRandomRows);
BENCHMARK(BM_ConvertFifteenPieces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IoFloorFifteenPieces)->Unit(benchmark::kMillisecond);

}  // namespace
