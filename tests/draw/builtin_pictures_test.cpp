#include "draw/builtin_pictures.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <vector>

#include "draw/qt_bridge.h"

namespace kxc2 {
namespace {

struct PictureCase {
  const char* name;
  std::function<Image()> load;
  std::function<std::span<const std::uint8_t>()> file;
  Size size;
};

const PictureCase kPictures[] = {
    {"MapTiles", MapTilesPicture, MapTilesBmp, {264, 200}},
    {"MapTiles2", MapTiles2Picture, MapTiles2Bmp, {60, 48}},
    {"SUMMERTILES", SummerTilesPicture, SummerTilesBmp, {765, 50}},
    {"WINTERTILES", WinterTilesPicture, WinterTilesBmp, {765, 50}},
};

std::uint32_t Le32(std::span<const std::uint8_t> bytes, int at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return v;
}

class BuiltinPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(BuiltinPicture, IsAnEightBitPictureWithAFullColourTable) {
  const PictureCase& c = GetParam();
  const Image picture = c.load();
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), c.size);
  EXPECT_EQ(picture.format(), Image::Format_Indexed8);
  EXPECT_EQ(picture.colorCount(), 256);
}

TEST_P(BuiltinPicture, FileIsAnEightBitBmpWith256Colours) {
  const PictureCase& c = GetParam();
  const std::span<const std::uint8_t> bytes = c.file();
  ASSERT_GE(bytes.size(), 54u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(static_cast<std::uint8_t>(bytes[28]), 8);  // bits per pixel
  const std::uint32_t used = Le32(bytes, 46);
  EXPECT_TRUE(used == 256 || used == 0) << used;
  const std::uint32_t stride = (static_cast<std::uint32_t>(c.size.width()) + 3) / 4 * 4;
  EXPECT_EQ(static_cast<std::uint32_t>(bytes.size()),
            Le32(bytes, 10) + stride * static_cast<std::uint32_t>(c.size.height()));
  // Row padding is zero, so the committed files do not depend on stray memory.
  const int offset = static_cast<int>(Le32(bytes, 10));
  for (int row = 0; row < c.size.height(); ++row)
    for (int x = c.size.width(); x < static_cast<int>(stride); ++x)
      ASSERT_EQ(bytes[offset + row * static_cast<int>(stride) + x], 0) << "row " << row;
}

TEST_P(BuiltinPicture, EveryCallGivesAnIndependentCopy) {
  Image first = GetParam().load();
  const Image second = GetParam().load();
  first.scanLine(0)[0] = static_cast<std::uint8_t>(first.scanLine(0)[0] ^ 1);
  EXPECT_NE(first, second);
  EXPECT_EQ(GetParam().load(), second);
}

// Built in byte for byte from the committed file, and read as the toolkit
// reads that file.
TEST_P(BuiltinPicture, IsTheCommittedFileAndDecodesAsTheToolkitDoes) {
  const PictureCase& c = GetParam();
  std::ifstream in(std::string(KXC2_SOURCE_DIR "/resources/") + c.name + ".bmp", std::ios::binary);
  const std::vector<std::uint8_t> committed((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(committed.empty());
  EXPECT_EQ(std::vector<std::uint8_t>(c.file().begin(), c.file().end()), committed);
  EXPECT_EQ(c.load(), FromQImage(QImage::fromData(committed.data(), static_cast<int>(committed.size()), "BMP")));
}

INSTANTIATE_TEST_SUITE_P(All, BuiltinPicture, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return std::string(info.param.name); });

struct AtlasCase {
  const char* name;
  std::function<Image()> load;
  Size cell;
  Rgb ground;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const AtlasCase& c, std::ostream* out) { *out << c.name; }

const AtlasCase kAtlases[] = {
    {"MapTiles", MapTilesPicture, {44, 50}, MakeRgb(0, 200, 47)},
    {"MapTiles2", MapTiles2Picture, {12, 12}, MakeRgb(0, 204, 51)},
};

class ViewAtlas : public ::testing::TestWithParam<AtlasCase> {};

Rect CellOf(const AtlasCase& c, int terrain) {
  return Rect(c.cell.width() * (terrain % 5), c.cell.height() * (terrain / 5), c.cell.width(), c.cell.height());
}

TEST_P(ViewAtlas, EveryCellHasABlackTopRowAndLeftColumn) {
  const AtlasCase& c = GetParam();
  const Image atlas = c.load();
  for (int t = 0; t < 20; ++t) {
    const Rect cell = CellOf(c, t);
    for (int x = cell.left(); x <= cell.right(); ++x)
      EXPECT_EQ(atlas.pixel(x, cell.top()), MakeRgb(0, 0, 0)) << "cell " << t << " x " << x;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      EXPECT_EQ(atlas.pixel(cell.left(), y), MakeRgb(0, 0, 0)) << "cell " << t << " y " << y;
  }
}

TEST_P(ViewAtlas, PlainCellsAreGroundInside) {
  const AtlasCase& c = GetParam();
  const Image atlas = c.load();
  for (int t : {0, 17, 18, 19}) {
    const Rect inside = CellOf(c, t).adjusted(1, 1, 0, 0);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
      for (int x = inside.left(); x <= inside.right(); ++x) {
        if (t == 19 && x >= 57 && y >= 45 && c.cell.width() == 12) continue;  // the marker
        ASSERT_EQ(atlas.pixel(x, y), c.ground) << "cell " << t << " at " << x << "," << y;
      }
  }
}

int CountOf(const Image& image, const Rect& rect, Rgb colour) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) n += image.pixel(x, y) == colour;
  return n;
}

TEST_P(ViewAtlas, MotifCellsShowSomethingOnTheGround) {
  const AtlasCase& c = GetParam();
  const Image atlas = c.load();
  for (int t = 1; t <= 16; ++t) {
    const Rect inside = CellOf(c, t).adjusted(1, 1, 0, 0);
    EXPECT_LT(CountOf(atlas, inside, c.ground), inside.width() * inside.height() * 99 / 100) << "cell " << t;
  }
}

TEST_P(ViewAtlas, RiverDotsGrowFromStreamToRiverToImpassableRiver) {
  const AtlasCase& c = GetParam();
  const Image atlas = c.load();
  auto notGround = [&](int t) {
    const Rect inside = CellOf(c, t).adjusted(1, 1, 0, 0);
    return inside.width() * inside.height() - CountOf(atlas, inside, c.ground);
  };
  EXPECT_LT(0, notGround(13));
  EXPECT_LT(notGround(13), notGround(10));
  EXPECT_LT(notGround(10), notGround(15));
  const Rect river = CellOf(c, 10);
  EXPECT_NE(atlas.pixel(river.left() + c.cell.width() / 2, river.top() + c.cell.height() / 2), c.ground);
}

INSTANTIATE_TEST_SUITE_P(Both, ViewAtlas, ::testing::ValuesIn(kAtlases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MapTiles, OceanIsSolidBlueViolet) {
  const Image atlas = MapTilesPicture();
  const Rect inside(44 * 4 + 1, 50 + 1, 43, 49);  // terrain 9: column 4, row 1
  EXPECT_EQ(CountOf(atlas, inside, MakeRgb(96, 0, 255)), 43 * 49);
}

TEST(MapTiles, StripRightOfTheCellsIsNotGround) {
  const Image atlas = MapTilesPicture();
  EXPECT_EQ(CountOf(atlas, Rect(220, 0, 44, 200), MakeRgb(0, 200, 47)), 0);
}

TEST(MapTiles2, RoadMarkerIsAPureRedBlock) {
  const Image atlas = MapTiles2Picture();
  for (int y = 45; y <= 47; ++y)
    for (int x = 57; x <= 59; ++x) EXPECT_EQ(atlas.pixel(x, y), MakeRgb(255, 0, 0)) << x << "," << y;
  // Nothing else in the atlas is that red.
  EXPECT_EQ(CountOf(atlas, atlas.rect(), MakeRgb(255, 0, 0)), 9);
}

Rgb MostCommon(const Image& image, const Rect& rect) {
  std::map<Rgb, int> counts;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) ++counts[image.pixel(x, y)];
  Rgb best = 0;
  int bestCount = -1;
  for (const auto& [colour, count] : counts)
    if (count > bestCount) {
      best = colour;
      bestCount = count;
    }
  return best;
}

Rect Tile(int t) { return Rect(45 * t, 0, 45, 50); }

TEST(TileSets, ShareOnePaletteWithThePainterColoursAtTheirEntries) {
  const Image summer = SummerTilesPicture(), winter = WinterTilesPicture();
  EXPECT_EQ(summer.colorTable(), winter.colorTable());
  EXPECT_EQ(summer.color(200), MakeRgb(124, 144, 164));
  EXPECT_EQ(summer.color(111), MakeRgb(248, 224, 100));
  // Lines drawn on a piece land on exactly those entries.
  int firstRiver = -1, firstRoad = -1;
  for (int i = 0; i < 256 && (firstRiver < 0 || firstRoad < 0); ++i) {
    if (firstRiver < 0 && summer.color(i) == MakeRgb(124, 144, 164)) firstRiver = i;
    if (firstRoad < 0 && summer.color(i) == MakeRgb(248, 224, 100)) firstRoad = i;
  }
  EXPECT_EQ(firstRiver, 200);
  EXPECT_EQ(firstRoad, 111);
}

struct GroundCase {
  const char* name;
  std::function<Image()> load;
  Rgb ground;
};
// Printed by name: gtest's raw-byte printer reads the padding, which
// valgrind rightly calls uninitialised.
void PrintTo(const GroundCase& c, std::ostream* out) { *out << c.name; }

class TileSetGround : public ::testing::TestWithParam<GroundCase> {};

TEST_P(TileSetGround, PlainTilesAreGroundSprinkledWithDots) {
  const Image tiles = GetParam().load();
  for (int t : {0, 10, 13, 15}) EXPECT_EQ(MostCommon(tiles, Tile(t)), GetParam().ground) << "tile " << t;
  const int ground = CountOf(tiles, Tile(0), GetParam().ground);
  EXPECT_LT(ground, 45 * 50 * 99 / 100);  // some dots
  EXPECT_GT(ground, 45 * 50 * 80 / 100);  // but mostly ground
}

TEST_P(TileSetGround, OceanIsBlueWithWhiteSpecks) {
  const Image tiles = GetParam().load();
  EXPECT_EQ(MostCommon(tiles, Tile(9)), MakeRgb(12, 120, 252));
  EXPECT_GT(CountOf(tiles, Tile(9), MakeRgb(255, 255, 255)), 0);
  EXPECT_EQ(CountOf(tiles, Tile(9), MakeRgb(12, 120, 252)) + CountOf(tiles, Tile(9), MakeRgb(255, 255, 255)), 45 * 50);
}

TEST_P(TileSetGround, RiverDotsGrowAndSitInTheCentre) {
  const Image tiles = GetParam().load();
  auto notGround = [&](int t) {
    return 45 * 50 - CountOf(tiles, Tile(t), GetParam().ground) -
           (45 * 50 - CountOf(tiles, Tile(0), GetParam().ground));
  };
  EXPECT_LT(0, notGround(13));
  EXPECT_LT(notGround(13), notGround(10));
  EXPECT_LT(notGround(10), notGround(15));
  for (int t : {10, 13, 15}) EXPECT_EQ(tiles.pixelIndex(45 * t + 22, 25), 200) << "tile " << t;
}

INSTANTIATE_TEST_SUITE_P(Seasons, TileSetGround,
                         ::testing::Values(GroundCase{"Summer", SummerTilesPicture, MakeRgb(164, 192, 140)},
                                           GroundCase{"Winter", WinterTilesPicture, MakeRgb(220, 220, 228)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TileSets, WinterDiffersFromSummerInEveryTileButOcean) {
  const Image summer = SummerTilesPicture(), winter = WinterTilesPicture();
  for (int t = 0; t < 17; ++t) {
    if (t == 9) continue;
    EXPECT_NE(summer.copy(Tile(t)), winter.copy(Tile(t))) << "tile " << t;
  }
}

}  // namespace
}  // namespace kxc2
