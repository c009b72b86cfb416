// The shipped sample maps are what their recipe draws, byte for byte.
// KXC2_WRITE_SAMPLES=1 writes them anew into samples/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/map_file.h"
#include "core/road_mask.h"
#include "core/terrain.h"
#include "tests/editor/sample_maps.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {
namespace {

std::filesystem::path SamplesFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "samples";
}

class SampleMapTest : public ::testing::TestWithParam<int> {};

TEST_P(SampleMapTest, FileMatchesItsRecipe) {
  const SampleMap sample = SampleMaps().at(static_cast<std::size_t>(GetParam()));
  const std::filesystem::path path = SamplesFolder() / sample.fileName;
  if (std::getenv("KXC2_WRITE_SAMPLES")) WriteMapFile(path.string(), sample.document);
  const auto expected = EncodeMapFile(sample.document);
  EXPECT_EQ(ReadBytes(path), std::vector<std::uint8_t>(expected.begin(), expected.end())) << path;
  MapDocument read;
  ReadMapFile(path.string(), read);
  EXPECT_EQ(read.header, sample.document.header);
}

TEST_P(SampleMapTest, OnlyKnownTerrainAndUsedRoadBits) {
  const SampleMap sample = SampleMaps().at(static_cast<std::size_t>(GetParam()));
  sample.document.grid.forEachInFileOrder([](int column, int row, const HexRecord& record) {
    EXPECT_LT(record[0], kTerrainCount) << column << "," << row;
    EXPECT_EQ(record[2] & 0x44, 0) << column << "," << row;
    for (std::size_t i : {1u, 3u, 4u, 5u, 6u}) EXPECT_EQ(record[i], 0);
  });
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleMapTest, ::testing::Values(0, 1));

TEST(SampleMapsTest, FullMapHasEveryTerrainRiversAndRoads) {
  const MapDocument map = SampleMaps().at(0).document;
  EXPECT_EQ(map.header, (MapHeader{40, 44, 39}));
  std::set<int> terrains;
  int roads = 0, rivers = 0;
  map.grid.forEachInFileOrder([&](int column, int row, const HexRecord& record) {
    if (column < 44 && row < 39) terrains.insert(record[0]);
    roads += record[2] != 0;
    rivers += IsInRiverSet(record[0]);
  });
  EXPECT_EQ(terrains.size(), static_cast<std::size_t>(kTerrainCount));
  EXPECT_GT(roads, 60);
  EXPECT_GT(rivers, 25);
}

TEST(SampleMapsTest, RoadsJoinFromBothSides) {
  const std::vector<SampleMap> samples = SampleMaps();
  for (const SampleMap& sample : samples) {
    const MapGrid& grid = sample.document.grid;
    grid.forEachInFileOrder([&](int column, int row, const HexRecord& record) {
      for (int side = 0; side < 6; ++side) {
        if (!(record[2] & kRoadBoxBits[static_cast<std::size_t>(side)])) continue;
        const auto next = Neighbour(column, row, static_cast<Side>(side));
        ASSERT_TRUE(next) << sample.fileName << " " << column << "," << row;
        EXPECT_TRUE(grid.roadMask(next->column, next->row) & kRoadBoxBits[static_cast<std::size_t>((side + 3) % 6)])
            << sample.fileName << " " << column << "," << row << " side " << side;
      }
    });
  }
}

}  // namespace
}  // namespace kxc2::test
