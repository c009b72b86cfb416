#include "editing/recent_maps.h"

#include <gtest/gtest.h>

#include "editing/ini_file.h"

namespace kxc2 {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentMapsTest, NewestFirstWithoutRepeatsAndAtMostEight) {
  const struct {
    const char* name;
    Paths start;
    std::string added;
    Paths expected;
  } cases[] = {
      {"into an empty list", {}, "/m/a.map", {"/m/a.map"}},
      {"goes to the front", {"/m/a.map", "/m/b.map"}, "/m/c.map", {"/m/c.map", "/m/a.map", "/m/b.map"}},
      {"a listed map moves to the front", {"/m/a.map", "/m/b.map", "/m/c.map"}, "/m/c.map",
       {"/m/c.map", "/m/a.map", "/m/b.map"}},
      {"names differing in case are two files", {"/m/a.map"}, "/m/A.map", {"/m/A.map", "/m/a.map"}},
      {"the ninth drops off", {"1", "2", "3", "4", "5", "6", "7", "8"}, "9",
       {"9", "1", "2", "3", "4", "5", "6", "7"}},
  };
  for (const auto& c : cases) {
    RecentMaps start;
    for (auto it = c.start.rbegin(); it != c.start.rend(); ++it) start.add(*it);
    ASSERT_EQ(start.paths(), c.start) << c.name;
    start.add(c.added);
    EXPECT_EQ(start.paths(), c.expected) << c.name;
  }
}

// A file written by hand: other sections, comments, odd case, gaps and a
// repeat in the list. Only the list's own section changes.
TEST(RecentMapsTest, SectionWrittenBackLeavesTheRestOfAHandWrittenFile) {
  const std::string text =
      "; my settings\r\n"
      "[Locations]\r\n"
      "KC2=D:\\Games\\K2\\\r\n"
      "\r\n"
      "[recent maps]\r\n"
      "File1=/maps/coast.map\r\n"
      "File3=/maps/valley.map\r\n"
      "File4=/maps/coast.map\r\n"
      "[Mine]\r\n"
      "Colour=blue, green\r\n";
  IniFile settings = IniFile::Parse(text);
  RecentMaps recent = RecentMaps::Read(settings);
  EXPECT_EQ(recent.paths(), (Paths{"/maps/coast.map", "/maps/valley.map"}));
  recent.add("/maps/new one.map");
  recent.remove("/maps/coast.map");
  recent.writeInto(settings);
  EXPECT_EQ(settings.text(),
            "; my settings\r\n"
            "[Locations]\r\n"
            "KC2=D:\\Games\\K2\\\r\n"
            "\r\n"
            "[recent maps]\r\n"
            "File1=/maps/new one.map\r\n"
            "File3=\r\n"
            "File4=\r\n"
            "File2=/maps/valley.map\r\n"
            "File5=\r\n"
            "File6=\r\n"
            "File7=\r\n"
            "File8=\r\n"
            "[Mine]\r\n"
            "Colour=blue, green\r\n");
  EXPECT_EQ(RecentMaps::Read(settings).paths(), (Paths{"/maps/new one.map", "/maps/valley.map"}));
}

}  // namespace
}  // namespace kxc2
