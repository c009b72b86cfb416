#include <gtest/gtest.h>

#include <filesystem>

#include "core/game_paths.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

TEST(WildcardMatch, CaseAndWildcards) {
  const struct {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"Map45*.shp", "Map4512.shp", true}, {"Map45*.shp", "MAP4512.SHP", true}, {"Map45*.shp", "map45.shp", true},
      {"Map45*.shp", "Map4612.shp", false}, {"Map45*.shp", "Map4512.shp.bak", false},
      {"Map45*.bmp", "Map45x.bmp", true},  {"*.map", "river", false},          {"*.map", "my.map.map", true},
      {"Map*.bmp", "Map.bmp", true},       {"a?c", "abc", true},               {"a?c", "ac", false},
      {"*", "", true},                     {"Korvex2.exe", "KORVEX2.EXE", true},
  };
  for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST(GamePaths, ResolveFindsEntriesInAnyCase) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.file("USERMAP"));
  std::filesystem::create_directory(dir.file("Scenario"));
  const std::string game = dir.folder();
  EXPECT_EQ(ResolveNoCase(game, "UserMap"), game + "USERMAP");
  EXPECT_EQ(ResolveNoCase(game, "scenario"), game + "Scenario");
  EXPECT_EQ(ResolveNoCase(game, "UserBMP"), game + "UserBMP");  // missing: unchanged
  // A value without a trailing separator joins directly.
  EXPECT_EQ(ResolveNoCase(dir.path().string(), "UserBMP"), dir.path().string() + "UserBMP");
#ifdef _WIN32
  GTEST_SKIP() << "Windows holds one entry of a name in any case";
#endif
  std::filesystem::create_directory(dir.file("UserMap"));
  EXPECT_EQ(ResolveNoCase(game, "UserMap"), game + "UserMap");  // the exact name wins
}

TEST(GamePaths, MatchingFilesListsOrdinaryVisibleFilesOnly) {
#ifdef _WIN32
  GTEST_SKIP() << "a symbolic link needs a privilege on Windows, and Wine makes none";
#endif
  test::TempDir dir;
  for (const char* name : {"Map4500.shp", "MAP4501.SHP", "Map4600.shp", ".Map4502.shp"})
    test::WriteBytes(dir.file(name), {1});
  std::filesystem::create_directory(dir.file("Map45x.shp"));
  std::filesystem::create_symlink(dir.file("loop"), dir.file("Map45loop.shp"));
  const auto files = MatchingFiles(dir.path().string(), "Map45*.shp");
  EXPECT_EQ(files, (std::vector<std::string>{dir.folder() + "MAP4501.SHP", dir.folder() + "Map4500.shp"}));
  EXPECT_TRUE(MatchingFiles(dir.file("missing"), "*").empty());

  DeleteFilesQuietly({dir.file("Map4500.shp"), dir.file("not-there"), dir.file("Map45x.shp")});
  EXPECT_EQ(test::ListFolder(dir.path()),
            (std::vector<std::string>{".Map4502.shp", "MAP4501.SHP", "Map45loop.shp", "Map45x.shp", "Map4600.shp"}));
}

}  // namespace
}  // namespace kxc2
