// Tile-set files: which one is used, and what happens to odd ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "export/tile_set.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using test::ErrorOf;

std::vector<std::uint32_t> Pixels(int count, const std::function<std::uint32_t(int)>& value) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < count; ++i) pixels.push_back(value(i));
  return pixels;
}

TEST(TileSetFileTest, EightBitFileIsTakenUnchanged) {
  test::TempDir dir;
  const Image tiles = test::PatternedTiles(2, 100);
  test::WriteBmpFile(dir.path() / "t.bmp", tiles);
  const TileSet loaded = LoadTileSetFile(dir.file("t.bmp"));
  EXPECT_EQ(loaded.image().size(), Size(100, 100));
  EXPECT_EQ(loaded.palette(), tiles.colorTable());
  EXPECT_EQ(loaded.variantCount(), 2);
  for (int y = 0; y < 100; y += 3)
    for (int x = 0; x < 100; x += 3) ASSERT_EQ(loaded.image().pixelIndex(x, y), tiles.pixelIndex(x, y));
}

TEST(TileSetFileTest, FourBitFileKeepsItsSixteenColoursPaddedWithBlack) {
  test::TempDir dir;
  std::vector<Rgb> palette;
  for (int i = 0; i < 16; ++i) palette.push_back(MakeRgb(10 * i + 5, 200 - i, 3 * i));
  test::WriteBytes(dir.path() / "t.bmp",
                   test::BmpFileBytes(45, 50, 4, palette, Pixels(45 * 50, [](int i) { return (i * 7) % 16; })));
  const TileSet loaded = LoadTileSetFile(dir.file("t.bmp"));
  ASSERT_EQ(loaded.palette().size(), 256u);
  EXPECT_EQ(std::vector<Rgb>(loaded.palette().begin(), loaded.palette().begin() + 16), palette);
  for (int i = 16; i < 256; ++i) ASSERT_EQ(loaded.palette()[i], MakeRgb(0, 0, 0)) << i;
  for (int i = 0; i < 45 * 50; i += 11) ASSERT_EQ(loaded.image().pixelIndex(i % 45, i / 45), (i * 7) % 16) << i;
}

// Qt swaps a 1-bit file's colours when the first is the darker; the tile set
// keeps the file's own order either way.
class MonoFileTest : public ::testing::TestWithParam<std::pair<Rgb, Rgb>> {};

TEST_P(MonoFileTest, KeepsTheFilesIndicesAndPalette) {
  test::TempDir dir;
  const std::vector<Rgb> palette = {GetParam().first, GetParam().second};
  const auto bit = [](int i) { return static_cast<std::uint32_t>((i / 3 + i / 45) % 2); };
  test::WriteBytes(dir.path() / "t.bmp", test::BmpFileBytes(45, 50, 1, palette, Pixels(45 * 50, bit)));
  const TileSet loaded = LoadTileSetFile(dir.file("t.bmp"));
  EXPECT_EQ(std::vector<Rgb>(loaded.palette().begin(), loaded.palette().begin() + 2), palette);
  EXPECT_EQ(loaded.palette()[2], MakeRgb(0, 0, 0));
  for (int i = 0; i < 45 * 50; ++i)
    ASSERT_EQ(loaded.image().pixelIndex(i % 45, i / 45), static_cast<int>(bit(i))) << i;
}

INSTANTIATE_TEST_SUITE_P(Palettes, MonoFileTest,
                         ::testing::Values(std::pair{MakeRgb(0, 0, 0), MakeRgb(255, 255, 255)},
                                           std::pair{MakeRgb(255, 255, 255), MakeRgb(0, 0, 0)},
                                           std::pair{MakeRgb(10, 20, 200), MakeRgb(250, 200, 10)},
                                           std::pair{MakeRgb(90, 90, 90), MakeRgb(90, 90, 90)}));

TEST(TileSetFileTest, Errors) {
  test::TempDir dir;
  const std::string missing = dir.file("none.bmp");
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(missing); }), "Cannot open file " + missing);

  std::filesystem::create_directory(dir.path() / "folder.bmp");
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("folder.bmp")); }), "Cannot open file " + dir.file("folder.bmp"));

  test::WriteBytes(dir.path() / "empty.bmp", {});
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("empty.bmp")); }), "Bitmap image is not valid");

  test::WriteBytes(dir.path() / "text.bmp", {'h', 'e', 'l', 'l', 'o'});
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("text.bmp")); }), "Bitmap image is not valid");

  // Qt would load this one with garbage rows.
  auto whole = test::BmpFileBytes(45, 50, 8, {MakeRgb(1, 2, 3), MakeRgb(4, 5, 6)}, std::vector<std::uint32_t>(45 * 50, 1));
  auto truncated = whole;
  truncated.resize(whole.size() - 1);
  test::WriteBytes(dir.path() / "short.bmp", truncated);
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("short.bmp")); }), "Bitmap image is not valid");
  test::WriteBytes(dir.path() / "whole.bmp", whole);
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("whole.bmp")); }), "no error");

  auto headerOnly = whole;
  headerOnly.resize(30);
  test::WriteBytes(dir.path() / "header.bmp", headerOnly);
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("header.bmp")); }), "Bitmap image is not valid");

  test::WriteBytes(dir.path() / "rgb.bmp",
                   test::BmpFileBytes(45, 50, 24, {}, std::vector<std::uint32_t>(45 * 50, 0x336699)));
  EXPECT_EQ(ErrorOf([&] { LoadTileSetFile(dir.file("rgb.bmp")); }), dir.file("rgb.bmp") + " is not an 8-bit bitmap");
}

TEST(PainterTileSetTest, FileBesideTheProgramReplacesTheBuiltInSet) {
  test::TempDir program;
  const Image builtin = BuiltinTileSet(false).image();
  EXPECT_EQ(builtin.size(), Size(765, 50));
  EXPECT_EQ(LoadPainterTileSet(program.folder(), false).image(), builtin);
  EXPECT_EQ(LoadPainterTileSet(program.folder(), true).image(), BuiltinTileSet(true).image());
  EXPECT_NE(BuiltinTileSet(true).image(), builtin);

  // Any case of the name is found; winter only reads its own file.
  const Image summer = test::PatternedTiles(3);
  test::WriteBmpFile(program.path() / "st50X45.BMP", summer);
  EXPECT_EQ(LoadPainterTileSet(program.folder(), false).variantCount(), 3);
  EXPECT_EQ(LoadPainterTileSet(program.folder(), true).image(), BuiltinTileSet(true).image());

  test::WriteBmpFile(program.path() / "WT50x45.bmp", test::PatternedTiles(2));
  EXPECT_EQ(LoadPainterTileSet(program.folder(), true).variantCount(), 2);

  test::WriteBytes(program.path() / "WT50x45.bmp", {'B', 'M'});
  EXPECT_EQ(ErrorOf([&] { LoadPainterTileSet(program.folder(), true); }), "Bitmap image is not valid");
}

// Beside the program first, then the user's configuration folder (where an
// installed editor keeps them), then the built-in set: told apart by height.
struct LookupCase {
  const char* name;
  int besideVariants;  // 0: no file there
  int userVariants;
  int expectedVariants;
};

class TileSetLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(TileSetLookupTest, FindsTheFirstFile) {
  const LookupCase& c = GetParam();
  test::TempDir program;
  test::TempDir user;
  if (c.besideVariants) test::WriteBmpFile(program.path() / "ST50x45.bmp", test::PatternedTiles(c.besideVariants));
  if (c.userVariants) test::WriteBmpFile(user.path() / "st50x45.bmp", test::PatternedTiles(c.userVariants));
  EXPECT_EQ(LoadPainterTileSet(program.folder(), false, user.folder()).variantCount(), c.expectedVariants);
  // Winter has its own file name and finds neither.
  EXPECT_EQ(LoadPainterTileSet(program.folder(), true, user.folder()).image(), BuiltinTileSet(true).image());
}

INSTANTIATE_TEST_SUITE_P(Places, TileSetLookupTest,
                         ::testing::Values(LookupCase{"Neither", 0, 0, 1}, LookupCase{"BesideOnly", 2, 0, 2},
                                           LookupCase{"UserFolderOnly", 0, 3, 3}, LookupCase{"BothBesideWins", 2, 3, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kxc2
