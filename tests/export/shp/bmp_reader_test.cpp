// The one bitmap reader behind tile sets and SHP conversion.
#include <gtest/gtest.h>

#include <functional>

#include "export/bmp_reader.h"
#include "export/shp_source_bitmap.h"
#include "export/tile_set.h"
#include "tests/export/shp/bmp_bytes.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<PaletteColour> Colours(int count) {
  std::vector<PaletteColour> palette;
  for (int i = 0; i < count; ++i)
    palette.push_back({static_cast<std::uint8_t>(3 * i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i)});
  return palette;
}

Bytes Indices(std::size_t count, int modulo) {
  Bytes indices(count);
  for (std::size_t i = 0; i < count; ++i) indices[i] = static_cast<std::uint8_t>((i * 7 + i / 5) % modulo);
  return indices;
}

std::string ReadError(const Bytes& bytes, const std::string& name = "N.bmp") {
  try {
    ReadIndexedBmp(bytes, name);
  } catch (const BmpReadError& error) {
    return error.what();
  }
  return "(read)";
}

// An old OS/2 bitmap: 12-byte header with 16-bit sides and 3-byte colours.
Bytes CoreBmp(std::uint32_t width, std::uint32_t height, const std::vector<PaletteColour>& palette, std::uint8_t index) {
  const std::size_t stride = (width + 3) / 4 * 4;
  const std::size_t offset = 14 + 12 + 3 * palette.size();
  Bytes bytes(offset, 0);
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put(bytes, 2, static_cast<std::uint32_t>(offset + stride * height), 4);
  Put(bytes, 10, static_cast<std::uint32_t>(offset), 4);
  Put(bytes, 14, 12, 4);
  Put(bytes, 18, width, 2);
  Put(bytes, 20, height, 2);
  Put(bytes, 22, 1, 2);
  Put(bytes, 24, 8, 2);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    bytes[26 + 3 * i] = palette[i].blue;
    bytes[27 + 3 * i] = palette[i].green;
    bytes[28 + 3 * i] = palette[i].red;
  }
  bytes.resize(offset + stride * height, index);
  return bytes;
}

struct DepthCase {
  int bits;
  int width;  // odd widths make the row padding count
  int colours;
};

class IndexedDepths : public ::testing::TestWithParam<DepthCase> {};

// The file's own indices and colours, the table padded with black to 256,
// and not one byte of pixel data may be missing.
TEST_P(IndexedDepths, KeepIndicesPadTheTableAndNeedEveryByte) {
  const DepthCase c = GetParam();
  const Bytes indices = Indices(static_cast<std::size_t>(c.width) * 3, c.colours);
  const Bytes file = test::MakeBmp({c.width, 3, c.bits, false, Colours(c.colours), indices});
  const Image image = ReadIndexedBmp(file, "N.bmp");
  ASSERT_EQ(image.format(), Image::Format_Indexed8);
  ASSERT_EQ(image.size(), Size(c.width, 3));
  for (int i = 0; i < c.width * 3; ++i)
    ASSERT_EQ(image.pixelIndex(i % c.width, i / c.width), indices[static_cast<std::size_t>(i)]) << i;
  ASSERT_EQ(image.colorCount(), 256);
  const std::vector<PaletteColour> palette = Colours(c.colours);
  for (int i = 0; i < 256; ++i) {
    const PaletteColour expected = i < c.colours ? palette[static_cast<std::size_t>(i)] : PaletteColour{};
    ASSERT_EQ(image.color(i), MakeRgb(expected.red, expected.green, expected.blue)) << i;
  }

  Bytes cut = file;
  cut.pop_back();
  EXPECT_EQ(ReadError(cut), "Bitmap image is not valid");
}

INSTANTIATE_TEST_SUITE_P(Depths, IndexedDepths,
                         ::testing::Values(DepthCase{1, 33, 2}, DepthCase{4, 9, 16}, DepthCase{4, 7, 5},
                                           DepthCase{8, 5, 256}, DepthCase{8, 3, 40}));

TEST(BmpReader, OtherDepthsAreNamed) {
  for (const int bits : {0, 2, 16, 24, 32, 65535}) {
    Bytes file = test::MakeBmp({4, 2, 8, false, Colours(256), Bytes(8, 1)});
    Put(file, 28, static_cast<std::uint32_t>(bits), 2);
    EXPECT_EQ(ReadError(file, "/x/Deep.bmp"), "/x/Deep.bmp is not an 8-bit bitmap") << bits;
  }
}

// Sides that would overflow rows times stride are refused, not wrapped
// into a small size that a tiny file would pass.
TEST(BmpReader, HugeSidesWithLittleDataAreNotValid) {
  for (const std::uint32_t side : {0x7FFFFFFFu, 0x40000000u, 0x10000u}) {
    Bytes file = test::MakeBmp({4, 2, 8, false, Colours(256), Bytes(8, 1)});
    Put(file, 18, side, 4);
    Put(file, 22, side, 4);
    EXPECT_EQ(ReadError(file), "Bitmap image is not valid") << side;
    Put(file, 22, 0x80000001u, 4);  // the same, top-down
    EXPECT_EQ(ReadError(file), "Bitmap image is not valid") << side;
  }
}

TEST(BmpReader, HeaderIsReadWithoutThePixels) {
  Bytes file = test::MakeBmp({4, 2, 4, true, Colours(16), Bytes(8, 1)});
  file.resize(60);  // the colours and pixels are gone
  const BmpHeader header = ReadIndexedBmpHeader(file, "N.bmp");
  EXPECT_EQ(header.width, 4);
  EXPECT_EQ(header.height, 2);
  EXPECT_EQ(header.bitsPerPixel, 4);
  EXPECT_EQ(ReadError(file), "Bitmap image is not valid");
}

// The OS/2 header's sides are unsigned words: 40000 is 40000, not -25536.
TEST(BmpReader, OldHeaderSidesAreUnsigned) {
  const BmpHeader header = ReadIndexedBmpHeader(CoreBmp(40000, 1, Colours(4), 2), "N.bmp");
  EXPECT_EQ(header.width, 40000);
  EXPECT_EQ(header.height, 1);
  EXPECT_EQ(header.bitsPerPixel, 8);

  // Such files always carry 2^bits colours.
  const Image image = ReadIndexedBmp(CoreBmp(6, 2, Colours(256), 3), "N.bmp");
  ASSERT_EQ(image.size(), Size(6, 2));
  EXPECT_EQ(image.pixelIndex(5, 1), 3);
  EXPECT_EQ(image.color(3), MakeRgb(9, 252, 3));
  EXPECT_EQ(image.color(80), MakeRgb(240, 175, 80));
}

// Run-length data has no fixed size: its stated size must be there.
TEST(BmpReader, RunLengthDataMustBeWhereTheHeaderSaysItIs) {
  // 3 x 1: a run of three 5s, end of bitmap.
  Bytes file = test::MakeBmp({3, 1, 8, false, Colours(8), Bytes(3, 0)});
  file.resize(file.size() - 4);
  const Bytes rle = {3, 5, 0, 1};
  file.insert(file.end(), rle.begin(), rle.end());
  Put(file, 30, 1, 4);
  Put(file, 34, 4, 4);
  const Image image = ReadIndexedBmp(file, "N.bmp");
  ASSERT_EQ(image.size(), Size(3, 1));
  EXPECT_EQ(image.pixelIndex(0, 0), 5);
  EXPECT_EQ(image.pixelIndex(2, 0), 5);

  Put(file, 34, 5, 4);
  EXPECT_EQ(ReadError(file), "Bitmap image is not valid");
  Put(file, 34, 0, 4);
  EXPECT_EQ(ReadError(file), "Bitmap image is not valid");
}

// Qt swaps a 1-bit file's colours only when the first is the darker; what
// comes back is the file's order in every case, including colours of the
// same grey that Qt leaves alone.
TEST(BmpReader, OneBitFilesKeepTheirOwnOrder) {
  const std::vector<std::vector<PaletteColour>> palettes = {
      {{0, 0, 0}, {255, 255, 255}}, {{255, 255, 255}, {0, 0, 0}}, {{0, 0, 255}, {255, 0, 0}},
      {{60, 60, 60}, {60, 60, 60}}, {{10, 200, 10}, {200, 10, 10}}};
  const Bytes indices = {0, 1, 1, 0, 1, 0, 0, 0, 1, 1};
  for (const auto& palette : palettes) {
    const Image image = ReadIndexedBmp(test::MakeBmp({5, 2, 1, false, palette, indices}), "N.bmp");
    for (int i = 0; i < 10; ++i)
      ASSERT_EQ(image.pixelIndex(i % 5, i / 5), indices[static_cast<std::size_t>(i)]) << int(palette[0].red) << " " << i;
    EXPECT_EQ(image.color(0), MakeRgb(palette[0].red, palette[0].green, palette[0].blue));
    EXPECT_EQ(image.color(1), MakeRgb(palette[1].red, palette[1].green, palette[1].blue));
  }
}

// Tile sets and SHP conversion read through the same code: the same bytes
// give the same pixels and the same refusals.
TEST(BmpReader, TileSetsAndShpConversionAgree) {
  test::TempDir dir;
  std::vector<std::pair<std::string, Bytes>> files;
  files.push_back({"mono", test::MakeBmp({45, 50, 1, false, {{0, 0, 0}, {250, 250, 250}}, Indices(45 * 50, 2)})});
  files.push_back({"four", test::MakeBmp({45, 50, 4, true, Colours(16), Indices(45 * 50, 16)})});
  files.push_back({"eight", test::MakeBmp({46, 50, 8, false, Colours(200), Indices(46 * 50, 200)})});
  files.push_back({"deep", test::MakeBmp24(45, 50)});
  Bytes cut = files[2].second;
  cut.resize(cut.size() - 46);
  files.push_back({"cut", cut});
  files.push_back({"junk", Bytes(40, 'B')});
  for (const auto& [name, bytes] : files) {
    const std::string path = dir.file(name + ".bmp");
    test::WriteBytes(path, bytes);
    std::string tileError = "(read)";
    std::string shpError = "(read)";
    std::optional<TileSet> tiles;
    IndexedBitmap bitmap;
    try {
      tiles.emplace(LoadTileSetFile(path));
    } catch (const std::runtime_error& error) {
      tileError = error.what();
    }
    try {
      bitmap = LoadBitmapForShp(path);
    } catch (const BitmapLoadError& error) {
      shpError = error.what();
    }
    EXPECT_EQ(tileError, shpError) << name;
    if (!tiles) continue;
    const Image& image = tiles->image();
    ASSERT_EQ(static_cast<std::size_t>(image.width()), bitmap.width) << name;
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i)
      ASSERT_EQ(image.pixelIndex(static_cast<int>(i % bitmap.width), static_cast<int>(i / bitmap.width)),
                bitmap.pixels[i]) << name << " " << i;
    for (int i = 0; i < 256; ++i) {
      const PaletteColour& c = bitmap.palette[static_cast<std::size_t>(i)];
      ASSERT_EQ(tiles->palette()[i], MakeRgb(c.red, c.green, c.blue)) << name << " " << i;
    }
  }
}

}  // namespace
}  // namespace kxc2
