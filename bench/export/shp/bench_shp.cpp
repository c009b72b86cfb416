// The SHP row encoder against memcpy of the same bytes, and the whole
// conversion of one map's 15 pieces against reading and writing its bytes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <cstring>
#include <filesystem>
#include <random>

#include "core/atomic_file.h"
#include "export/shp_conversion.h"
#include "export/shp_encoder.h"
#include "export/shp_file.h"
#include "export/shp_indexed_bitmap.h"

namespace {

namespace fs = std::filesystem;
using kxc2::IndexedBitmap;

constexpr int kPieceWidth = 640;
constexpr int kPieceHeight = 480;
constexpr int kPieces = 15;

// A piece of a busy painted map: hex-sized patches of textured land, flat
// water with the odd wave, and roads and rivers crossing as lines.
IndexedBitmap PaintedPiece(unsigned seed) {
  std::mt19937 random(seed);
  IndexedBitmap image;
  image.width = kPieceWidth;
  image.height = kPieceHeight;
  image.pixels.resize(image.width * image.height);
  for (std::size_t y = 0; y < image.height; ++y) {
    for (std::size_t x = 0; x < image.width; ++x) {
      const std::size_t column = x / 38;
      const std::size_t row = (y + (column % 2) * 22) / 45;
      const unsigned terrain = (column * 7 + row * 13 + seed) % 5;
      std::uint8_t& pixel = image.pixels[y * image.width + x];
      switch (terrain) {
        case 0: pixel = random() % 40 == 0 ? 33 : 32; break;                    // water
        case 1: pixel = static_cast<std::uint8_t>(64 + random() % 4); break;    // grass
        case 2: pixel = static_cast<std::uint8_t>(96 + (random() % 3) * (random() % 2)); break;  // forest
        case 3: pixel = static_cast<std::uint8_t>(128 + (x / 3 + y / 2) % 3); break;  // hills
        default: pixel = static_cast<std::uint8_t>(160 + random() % 16); break;     // town
      }
    }
  }
  for (int line = 0; line < 12; ++line) {  // roads and rivers
    const int x0 = static_cast<int>(random() % kPieceWidth);
    const int y0 = static_cast<int>(random() % kPieceHeight);
    const int dx = static_cast<int>(random() % 5) - 2;
    for (int t = 0; t < 300; ++t) {
      const int x = x0 + dx * t / 2;
      const int y = y0 + t;
      for (int w = 0; w < 5; ++w)
        if (x + w >= 0 && x + w < kPieceWidth && y < kPieceHeight)
          image.pixels[static_cast<std::size_t>(y) * image.width + x + w] = line % 2 ? 200 : 210;
    }
  }
  for (std::size_t i = 0; i < 256; ++i)
    image.palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2), static_cast<std::uint8_t>(255 - i)};
  return image;
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

void EncodeRows(benchmark::State& state, const IndexedBitmap& image) {
  std::vector<std::uint8_t> out(kxc2::ShpRowBound(image.width));
  std::size_t encoded = 0;
  for (auto _ : state) {
    for (std::size_t y = 0; y < image.height; ++y) encoded += kxc2::EncodeShpRow(image.row(y), out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.pixels.size()));
  state.counters["out/in"] = static_cast<double>(encoded) /
                             static_cast<double>(state.iterations() * image.pixels.size());
}

void CopyRows(benchmark::State& state, const IndexedBitmap& image) {
  std::vector<std::uint8_t> out(image.width);
  for (auto _ : state) {
    for (std::size_t y = 0; y < image.height; ++y) std::memcpy(out.data(), image.row(y).data(), image.width);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.pixels.size()));
}

void BM_EncodePaintedRows(benchmark::State& state) {
  static const IndexedBitmap image = PaintedPiece(3);
  EncodeRows(state, image);
}
void BM_MemcpyPaintedRows(benchmark::State& state) {
  static const IndexedBitmap image = PaintedPiece(3);
  CopyRows(state, image);
}
void BM_EncodeRandomRows(benchmark::State& state) {
  static const IndexedBitmap image = RandomPiece();
  EncodeRows(state, image);
}
void BM_MemcpyRandomRows(benchmark::State& state) {
  static const IndexedBitmap image = RandomPiece();
  CopyRows(state, image);
}
BENCHMARK(BM_EncodePaintedRows);
BENCHMARK(BM_MemcpyPaintedRows);
BENCHMARK(BM_EncodeRandomRows);
BENCHMARK(BM_MemcpyRandomRows);

// 15 pieces saved as 8-bit BMPs in a temporary game folder.
class PieceFolder {
 public:
  PieceFolder() {
    char pattern[] = "/tmp/kxc2-bench-shp-XXXXXX";
    root_ = ::mkdtemp(pattern);
    fs::create_directories(root_ / "UserBMP");
    fs::create_directories(root_ / "UserMap");
    for (int piece = 0; piece < kPieces; ++piece) {
      const IndexedBitmap image = PaintedPiece(static_cast<unsigned>(piece));
      QImage bitmap(kPieceWidth, kPieceHeight, QImage::Format_Indexed8);
      QList<QRgb> table;
      for (const auto& c : image.palette) table.push_back(qRgb(c.red, c.green, c.blue));
      bitmap.setColorTable(table);
      for (int y = 0; y < kPieceHeight; ++y)
        std::memcpy(bitmap.scanLine(y), image.row(static_cast<std::size_t>(y)).data(), kPieceWidth);
      const std::string name = "Map45" + std::to_string(piece % 5) + std::to_string(piece / 5) + ".bmp";
      const std::string path = (root_ / "UserBMP" / name).string();
      bitmap.save(QString::fromStdString(path), "BMP");
      bitmaps_.push_back(path);
      shpSizes_.push_back(kxc2::EncodeShpFile(image).size());
    }
  }
  ~PieceFolder() { fs::remove_all(root_); }

  const std::vector<std::string>& bitmaps() const { return bitmaps_; }
  std::size_t shpSize(int i) const { return shpSizes_[static_cast<std::size_t>(i)]; }
  std::string gameFolder() const { return root_.string() + "/"; }
  std::string scratch(int i) const { return (root_ / "UserMap" / ("floor" + std::to_string(i))).string(); }

 private:
  fs::path root_;
  std::vector<std::string> bitmaps_;
  std::vector<std::size_t> shpSizes_;
};

PieceFolder& Pieces() {
  static PieceFolder folder;
  return folder;
}

void BM_ConvertFifteenPieces(benchmark::State& state) {
  PieceFolder& pieces = Pieces();
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
  PieceFolder& pieces = Pieces();
  for (auto _ : state) {
    for (int i = 0; i < kPieces; ++i) {
      QFile file(QString::fromStdString(pieces.bitmaps()[static_cast<std::size_t>(i)]));
      file.open(QIODevice::ReadOnly);
      const QByteArray bytes = file.readAll();
      benchmark::DoNotOptimize(bytes.constData());
      kxc2::WriteFileAtomically(pieces.scratch(i), bytes.constData(), std::min<std::size_t>(pieces.shpSize(i), static_cast<std::size_t>(bytes.size())));
    }
  }
}

BENCHMARK(BM_ConvertFifteenPieces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IoFloorFifteenPieces)->Unit(benchmark::kMillisecond);

}  // namespace
