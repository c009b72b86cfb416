#include <gtest/gtest.h>

#include "core/map_file.h"
#include "tests/cli/run_tool.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

TEST(InfoCommand, PrintsHeaderTerrainCountsAndRoads) {
  test::TempDir dir;
  MapDocument document;
  document.header = {45, 30, 20};
  document.grid.setTerrain(0, 0, 9);
  document.grid.setTerrain(1, 0, 9);
  document.grid.setTerrain(2, 0, 200);
  document.grid.setRoadMask(3, 3, 4);
  document.grid.setRoadMask(4, 3, 255);
  WriteMapFile(dir.file("a.map"), document);

  const auto result = test::RunTool({"info", dir.file("a.map")});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "map number: 45\n"
            "columns: 30\n"
            "rows: 20\n"
            "terrain:\n"
            "    0 Clear                1797\n"
            "    9 Ocean                   2\n"
            "  200 Unknown (200)           1\n"
            "hexes with roads: 2\n");
  EXPECT_EQ(result.err, "");
}

TEST(InfoCommand, ErrorsAndUsage) {
  test::TempDir dir;
  test::WriteBytes(dir.file("short.map"), {1, 2, 3, 4});
  const struct {
    std::vector<std::string> args;
    int exitCode;
    std::string errStart;
  } cases[] = {
      {{"info", dir.file("missing.map")}, 1, "kxc2tool: " + dir.file("missing.map") + ": File not found\n"},
      {{"info", dir.file("nofolder/a.map")}, 1, "kxc2tool: " + dir.file("nofolder/a.map") + ": Invalid filename\n"},
      {{"info", dir.file("short.map")}, 1, "kxc2tool: " + dir.file("short.map") + ": Read beyond end of file\n"},
      {{"info", dir.path().string()}, 1, "kxc2tool: " + dir.path().string() + ": Invalid filename\n"},
      {{"info"}, 2, "kxc2tool: info needs exactly one FILE.map\n"},
      {{"info", "a", "b"}, 2, "kxc2tool: info needs exactly one FILE.map\n"},
      {{"info", "--bogus", "a"}, 2, "kxc2tool: unknown option '--bogus'\n"},
      {{"frobnicate"}, 2, "kxc2tool: unknown command 'frobnicate'\n"},
      {{}, 2, "kxc2tool: missing command\n"},
  };
  for (const auto& c : cases) {
    const auto result = test::RunTool(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_EQ(result.err.substr(0, c.errStart.size()), c.errStart);
    EXPECT_EQ(result.out, "");
  }
}

TEST(InfoCommand, OutputThatCannotBeWrittenIsAFailure) {
  test::TempDir dir;
  WriteMapFile(dir.file("a.map"), MapDocument{});
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"info", dir.file("a.map")}, std::vector<std::string>{"--version"}}) {
    const auto result = test::RunTool(args, {}, "/dev/full");
    EXPECT_EQ(result.exitCode, 1) << args[0];
    EXPECT_EQ(result.err, "kxc2tool: write error: No space left on device\n") << args[0];
  }
}

TEST(InfoCommand, HelpAndVersion) {
  const auto help = test::RunTool({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: kxc2tool COMMAND"), std::string::npos);
  for (const char* command : {"info", "paint", "preview", "shp", "unshp"}) {
    const auto commandHelp = test::RunTool({command, "--help"});
    EXPECT_EQ(commandHelp.exitCode, 0) << command;
    EXPECT_EQ(commandHelp.out.rfind(std::string("Usage: kxc2tool ") + command + " ", 0), 0u) << commandHelp.out;
    EXPECT_EQ(commandHelp.err, "");
  }
  const auto version = test::RunTool({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "kxc2tool 0.30\n");
}

}  // namespace
}  // namespace kxc2
