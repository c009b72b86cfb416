// kxc2tool paint and shp against hostile game folders and failing writes,
// run as a user would run the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/map_file.h"
#include "tests/cli/run_tool.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/hardening/fault_support.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

const char* const kAccented = "Mes Jeux/Korvex \xC3\x84";

void File(const fs::path& path) { WriteBytes(path, Bytes("keep")); }
void Link(const fs::path& path, const std::string& target) { fs::create_symlink(target, path); }

// A 16 x 11 map number 45 (four pieces) and two small bitmaps to convert.
class ToolHostile : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(game());
    MapDocument document;
    document.header = {45, 16, 11};
    document.grid.setTerrain(4, 4, 9);
    WriteMapFile(mapFile(), document);
    std::vector<Rgb> palette;
    for (int i = 0; i < 256; ++i) palette.push_back(MakeRgb(i, i, 255 - i));
    WriteBytes(bitmap("Map4500.bmp"), BmpFileBytes(3, 2, 8, palette, std::vector<std::uint32_t>(6, 7)));
    std::vector<std::uint32_t> noise(640 * 480);
    std::uint32_t state = 99;
    for (auto& pixel : noise) pixel = (state = state * 1103515245 + 12345) >> 24;
    WriteBytes(bitmap("Map4501.bmp"), BmpFileBytes(640, 480, 8, palette, noise));
  }

  fs::path game() const { return dir.path() / gameName; }
  std::string gameArg() const { return game().string(); }
  std::string mapFile() const { return dir.file("carte.map"); }
  std::string bitmap(const std::string& name) const { return dir.file(name); }
  ToolResult paint(const std::string& gameFolder, Names extra = {}) const {
    Names args{"paint", mapFile(), "--game-folder", gameFolder, "--yes", "--seed", "1"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool(args);
  }
  ToolResult shp(const std::string& gameFolder, const Names& inputs) const {
    Names args{"shp"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.insert(args.end(), {"--game-folder", gameFolder, "--yes"});
    return RunTool(args);
  }

  TempDir dir;
  std::string gameName = "game";
};

// What the paint functions make of a UserBMP that is a link or a loop: the
// editor's hostile-folder tests; here how the program reports a failure.
TEST_F(ToolHostile, PaintIntoAUserBMPThatIsAFile) {
  File(game() / "UserBMP");
  const ToolResult run = paint(gameArg());
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "kxc2tool: Cannot create file " + gameArg() + "/UserBMP/Map4500.bmp\n");
  EXPECT_EQ(Tree(game()), Names{"UserBMP"});
}

TEST_F(ToolHostile, PaintWithHostileInputs) {
  fs::create_directories(game() / "UserBMP");
  fs::create_directory(dir.path() / "tiles.bmp");
  fs::create_directory(dir.path() / "folder.map");
  struct Case {
    Names args;
    std::string err;
  } cases[] = {
      {{"paint", mapFile(), "--game-folder", gameArg(), "--tiles", dir.file("tiles.bmp")},
       "kxc2tool: Cannot open file " + dir.file("tiles.bmp") + "\n"},
      {{"paint", dir.file("folder.map"), "--game-folder", gameArg()},
       "kxc2tool: " + dir.file("folder.map") + ": Invalid filename\n"},
  };
  for (const Case& c : cases) {
    const ToolResult run = RunTool(c.args);
    EXPECT_EQ(run.exitCode, 1) << c.args[1];
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
  }
  EXPECT_EQ(Tree(game()), Names{"UserBMP/"});
}

TEST_F(ToolHostile, PaintAndShpInAFolderWithSpacesAndAccents) {
  gameName = kAccented;
  fs::create_directories(game() / "UserBMP");
  const ToolResult painted = paint(gameArg());
  EXPECT_EQ(painted.exitCode, 0) << painted.err;
  const std::string userBmp = gameArg() + "/UserBMP/";
  EXPECT_EQ(painted.out, userBmp + "Map4500.bmp\n" + userBmp + "Map4501.bmp\n" + userBmp + "Map4510.bmp\n" +
                             userBmp + "Map4511.bmp\n");
  const ToolResult converted = shp(gameArg(), {userBmp + "Map4500.bmp", userBmp + "Map4511.bmp"});
  EXPECT_EQ(converted.exitCode, 0) << converted.err;
  EXPECT_EQ(converted.out, gameArg() + "/UserMap/Map4500.shp\n" + gameArg() + "/UserMap/Map4511.shp\n");
  EXPECT_EQ(Tree(game() / "UserMap"), (Names{"Map4500.shp", "Map4511.shp"}));
}

TEST_F(ToolHostile, ShpIntoAUserMapThatIsNoFolder) {
  struct Case {
    const char* name;
    void (*setup)(const fs::path& userMap);
  } cases[] = {
      {"file", [](const fs::path& p) { File(p); }},
      {"loop", [](const fs::path& p) { Link(p, "UserMap"); }},
      {"dangling", [](const fs::path& p) { Link(p, "gone"); }},
  };
  for (const Case& c : cases) {
    fs::remove_all(game());
    fs::create_directories(game());
    c.setup(game() / "UserMap");
    const ToolResult run = shp(gameArg(), {bitmap("Map4500.bmp")});
    EXPECT_EQ(run.exitCode, 1) << c.name;
    EXPECT_EQ(run.out, "") << c.name;
    EXPECT_EQ(run.err, "kxc2tool: " + gameArg() + "/UserMap is not a folder\n") << c.name;
    EXPECT_EQ(Tree(game()), Names{"UserMap" + std::string(c.name == std::string("file") ? "" : "@")}) << c.name;
  }
}

TEST_F(ToolHostile, ShpWithHostileInputs) {
  fs::create_directories(game() / "UserMap");
  // Inputs that are links or loops: the editor's hostile-folder tests.
  fs::create_directory(dir.path() / "Map4502.bmp");
  const ToolResult failed = shp(gameArg(), {bitmap("Map4500.bmp"), bitmap("Map4502.bmp")});
  EXPECT_EQ(failed.exitCode, 1);
  EXPECT_EQ(failed.out, gameArg() + "/UserMap/Map4500.shp\n");
  EXPECT_EQ(failed.err, "kxc2tool: Cannot open file " + bitmap("Map4502.bmp") + "\n");
  EXPECT_EQ(Tree(game() / "UserMap"), Names{"Map4500.shp"});
  const ToolResult run = shp(dir.file("gone"), {bitmap("Map4500.bmp")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: game folder " + dir.file("gone") + " is not a folder\n");
}

// A pipe where a file is expected is refused at once instead of waited on
// (pipes as tile set and bitmap: the editor's hostile-folder tests).
TEST_F(ToolHostile, PipesAreRefusedAtOnce) {
  fs::create_directories(game() / "UserBMP");
  fs::create_directories(game() / "UserMap");
  const PipeWithWatchdog mapPipe(dir.path() / "tube.map");
  struct Case {
    Names args;
    std::string err;
  } cases[] = {
      {{"info", dir.file("tube.map")}, "kxc2tool: " + dir.file("tube.map") + ": Invalid filename\n"},
      {{"paint", dir.file("tube.map"), "--game-folder", gameArg()},
       "kxc2tool: " + dir.file("tube.map") + ": Invalid filename\n"},
  };
  for (const Case& c : cases) {
    const ToolResult run = RunTool(c.args);
    EXPECT_EQ(run.exitCode, 1) << c.args[1];
    EXPECT_EQ(run.err, c.err);
  }
  EXPECT_FALSE(mapPipe.hung());
  EXPECT_EQ(Tree(game()), (Names{"UserBMP/", "UserMap/"}));
}

// The limit passes on to the program: the small file is written, the noisy
// one fails and leaves nothing under its name.
TEST_F(ToolHostile, DiskFullPartWay) {
  fs::create_directories(game() / "UserMap");
  fs::create_directories(game() / "UserBMP");
  ChildReport report;
  const int code = RunWithFileSizeLimit(100000, [&] {
    const ToolResult converted = shp(gameArg(), {bitmap("Map4500.bmp"), bitmap("Map4501.bmp")});
    const ToolResult painted = paint(gameArg());
    report.put({{"shp exit", std::to_string(converted.exitCode)},
                {"shp out", converted.out},
                {"shp err", converted.err},
                {"paint exit", std::to_string(painted.exitCode)},
                {"paint out", painted.out},
                {"paint err", painted.err}});
    return 0;
  });
  ASSERT_EQ(code, 0);
  const auto values = report.values();
  EXPECT_EQ(values.at("shp exit"), "1");
  EXPECT_EQ(values.at("shp out"), gameArg() + "/UserMap/Map4500.shp|");
  EXPECT_EQ(values.at("shp err"), "kxc2tool: " + gameArg() + "/UserMap/Map4501.shp: Disk full|");
  EXPECT_EQ(values.at("paint exit"), "1");
  EXPECT_EQ(values.at("paint out"), "");
  EXPECT_EQ(values.at("paint err"), "kxc2tool: Disk full|");
  EXPECT_EQ(Tree(game()), (Names{"UserBMP/", "UserMap/", "UserMap/Map4500.shp"}));
}

}  // namespace
}  // namespace kxc2::test
