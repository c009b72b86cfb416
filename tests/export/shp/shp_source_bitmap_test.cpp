#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "export/shp_source_bitmap.h"
#include "tests/export/shp/bmp_bytes.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

test::BmpLayout Layout(int width, int height, int bits, std::vector<PaletteColour> palette, Bytes indices) {
  return {width, height, bits, false, std::move(palette), std::move(indices)};
}

std::string LoadError(const Bytes& bytes, const std::string& name = "X.bmp") {
  try {
    DecodeBitmapForShp(bytes, name);
  } catch (const BitmapLoadError& error) {
    return error.what();
  }
  return "(loaded)";
}

struct IndexCase {
  const char* name;
  test::BmpLayout layout;
};
// Without it gtest prints the raw bytes, padding and all, which valgrind
// rightly calls uninitialised.
void PrintTo(const IndexCase& c, std::ostream* out) { *out << c.name; }

class IndexedBmps : public ::testing::TestWithParam<IndexCase> {};

// Every pixel keeps the index the file gives it, and the palette is the
// file's colour table with black after its last entry.
TEST_P(IndexedBmps, KeepIndicesAndPalette) {
  const test::BmpLayout& layout = GetParam().layout;
  const IndexedBitmap bitmap = DecodeBitmapForShp(test::MakeBmp(layout), "X.bmp");
  ASSERT_EQ(bitmap.width, static_cast<std::size_t>(layout.width));
  ASSERT_EQ(bitmap.height, static_cast<std::size_t>(layout.height));
  EXPECT_EQ(bitmap.pixels, layout.indices);
  for (std::size_t i = 0; i < 256; ++i) {
    const PaletteColour expected = i < layout.palette.size() ? layout.palette[i] : PaletteColour{};
    ASSERT_EQ(bitmap.palette[i], expected) << "entry " << i;
  }
}

std::vector<PaletteColour> Ramp(int count) {
  std::vector<PaletteColour> palette;
  for (int i = 0; i < count; ++i)
    palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 5), static_cast<std::uint8_t>(255 - i)});
  return palette;
}

INSTANTIATE_TEST_SUITE_P(
    Depths, IndexedBmps,
    ::testing::Values(
        IndexCase{"Full8", Layout(3, 2, 8, Ramp(256), {0, 1, 255, 128, 7, 7})},
        IndexCase{"Short8", Layout(5, 1, 8, Ramp(3), {0, 1, 2, 9, 200})},
        IndexCase{"TopDown8", {2, 3, 8, true, Ramp(256), {1, 2, 3, 4, 5, 6}}},
        IndexCase{"Four", Layout(5, 2, 4, Ramp(16), {0, 15, 3, 8, 1, 2, 2, 14, 9, 0})},
        IndexCase{"MonoBlackWhite", Layout(9, 2, 1, {{0, 0, 0}, {255, 255, 255}}, {0, 1, 1, 0, 0, 0, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1})},
        IndexCase{"MonoWhiteBlack", Layout(4, 1, 1, {{255, 255, 255}, {0, 0, 0}}, {0, 1, 1, 0})},
        IndexCase{"MonoColours", Layout(4, 1, 1, {{255, 0, 0}, {0, 0, 255}}, {1, 0, 0, 1})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BitmapForShp, OtherDepthsAreRefusedByName) {
  EXPECT_EQ(LoadError(test::MakeBmp24(4, 4), "/g/UserBMP/Map4500.bmp"), "/g/UserBMP/Map4500.bmp is not an 8-bit bitmap");
  Bytes sixteen = test::MakeBmp(Layout(2, 2, 8, Ramp(256), {1, 2, 3, 4}));
  sixteen[28] = 16;
  EXPECT_EQ(LoadError(sixteen), "X.bmp is not an 8-bit bitmap");
}

TEST(BitmapForShp, DamagedFilesAreNotValid) {
  const Bytes good = test::MakeBmp(Layout(4, 4, 8, Ramp(256), Bytes(16, 3)));
  std::vector<std::pair<std::string, Bytes>> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"garbage", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}});
  Bytes truncated = good;
  truncated.pop_back();
  cases.push_back({"one byte short", truncated});
  Bytes noRows = good;
  noRows.resize(noRows.size() - 16);
  cases.push_back({"rows missing", noRows});
  Bytes cutHeader = good;
  cutHeader.resize(30);
  cases.push_back({"header cut", cutHeader});
  Bytes zeroWidth = good;
  zeroWidth[18] = 0;
  cases.push_back({"zero width", zeroWidth});
  Bytes badOffset = good;
  badOffset[13] = 0x70;
  cases.push_back({"pixel offset past the end", badOffset});
  for (const auto& [name, bytes] : cases) EXPECT_EQ(LoadError(bytes), "Bitmap image is not valid") << name;
}

TEST(BitmapForShp, SidesAbove65536AreTooLarge) {
  Bytes wide = test::MakeBmp(Layout(4, 1, 8, Ramp(256), Bytes(4, 1)));
  wide[18] = 0x01;
  wide[20] = 0x01;  // 65537
  EXPECT_EQ(LoadError(wide, "W.bmp"), "W.bmp is too large for a SHP file");
  Bytes tall = test::MakeBmp(Layout(1, 4, 8, Ramp(256), Bytes(4, 1)));
  tall[22] = 0x01;
  tall[24] = 0x01;
  EXPECT_EQ(LoadError(tall, "T.bmp"), "T.bmp is too large for a SHP file");
}

TEST(BitmapForShp, WideBitmapLoads) {
  Bytes indices(2000 * 3);
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::uint8_t>(i % 13);
  const IndexedBitmap bitmap = DecodeBitmapForShp(test::MakeBmp(Layout(2000, 3, 8, Ramp(256), indices)), "w");
  EXPECT_EQ(bitmap.pixels, indices);
}

TEST(BitmapForShp, FileThatCannotBeOpenedNamesItsFullPath) {
  test::TempDir dir;
  const std::string missing = dir.file("Map4500.bmp");
  try {
    LoadBitmapForShp(missing);
    FAIL();
  } catch (const BitmapLoadError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + missing);
  }
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  try {
    LoadBitmapForShp("rel.bmp");
    FAIL();
  } catch (const BitmapLoadError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + dir.file("rel.bmp"));
  }
  std::filesystem::current_path(previous);
  std::filesystem::create_directory(dir.path() / "folder.bmp");
  EXPECT_THROW(LoadBitmapForShp(dir.file("folder.bmp")), BitmapLoadError);
}

TEST(BitmapForShp, LoadsFromFile) {
  test::TempDir dir;
  test::WriteBytes(dir.file("a.bmp"), test::MakeBmp(Layout(2, 1, 8, Ramp(256), {4, 5})));
  EXPECT_EQ(LoadBitmapForShp(dir.file("a.bmp")).pixels, (Bytes{4, 5}));
}

}  // namespace
}  // namespace kxc2
