// kxc2tool paint and preview, run as the built program.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/wait.h>

#include "draw/qt_bridge.h"

#include "core/map_file.h"
#include "export/map_picture.h"
#include "export/tile_set.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(userBmp());
    document_.header = {45, 16, 11};
    document_.grid = test::TilesOnlyGrid();
    WriteMapFile(map(), document_);
  }

  // stdin is never a terminal here.
  ToolRun Tool(const std::vector<std::string>& args) {
    std::string command = Quote(KXC2TOOL_PATH);
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " </dev/null >" + Quote(work_.file("out")) + " 2>" + Quote(work_.file("err"));
    const int status = std::system(command.c_str());
    ToolRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(work_.path() / "out");
    run.err = ReadText(work_.path() / "err");
    return run;
  }

  std::string map() const { return work_.file("m.map"); }
  std::filesystem::path userBmp() const { return game_.path() / "UserBMP"; }
  std::string piece(const std::string& name) const { return game_.folder() + "UserBMP/" + name; }

  test::TempDir work_;
  test::TempDir game_;
  MapDocument document_;
};

TEST_F(CliPaintTest, PaintsWithTheFilesValuesAndPrintsThePieces) {
  const ToolRun run = Tool({"paint", map(), "--game-folder", game_.path().string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, piece("Map4500.bmp") + "\n" + piece("Map4501.bmp") + "\n" + piece("Map4510.bmp") + "\n" +
                         piece("Map4511.bmp") + "\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CliPaintTest, OptionsOverrideTheHeader) {
  const ToolRun run = Tool({"paint", map(), "--game-folder", game_.folder(), "--map-number", "99", "--columns", "30",
                        "--rows", "20", "--winter", "--seed", "3"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(test::ListFolder(userBmp()), (std::vector<std::string>{"Map9900.bmp", "Map9901.bmp", "Map9902.bmp",
                                                                   "Map9910.bmp", "Map9911.bmp", "Map9912.bmp"}));
  const test::BmpHeader header = test::ReadBmpHeader(test::ReadBytes(userBmp() / "Map9912.bmp"));
  EXPECT_EQ(header.width, 636);
  EXPECT_EQ(header.height, 15);
}

TEST_F(CliPaintTest, HeaderSizesAreBroughtIntoTheDialogRanges) {
  document_.header = {45, 60, 5};
  WriteMapFile(map(), document_);
  const ToolRun run = Tool({"paint", map(), "--game-folder", game_.folder()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // 44 x 11: three piece columns, two piece rows.
  EXPECT_EQ(test::ListFolder(userBmp()).size(), 6u);
}

TEST_F(CliPaintTest, OldPiecesWithoutTerminalAreRefused) {
  test::WriteBytes(userBmp() / "Map4577.bmp", {'o', 'l', 'd'});
  const ToolRun run = Tool({"paint", map(), "--game-folder", game_.folder()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("One or more Map45*.bmp files already exist."), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("--yes"), std::string::npos) << run.err;
  EXPECT_EQ(test::ListFolder(userBmp()), std::vector<std::string>{"Map4577.bmp"});

  const ToolRun yes = Tool({"paint", map(), "--game-folder", game_.folder(), "--yes"});
  EXPECT_EQ(yes.exitCode, 0) << yes.err;
  EXPECT_EQ(test::ListFolder(userBmp()),
            (std::vector<std::string>{"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp"}));
}

struct UsageCase {
  std::vector<std::string> args;  // after "paint MAP"
  std::string message;
};

TEST_F(CliPaintTest, UsageErrors) {
  const std::vector<UsageCase> cases = {
      {{}, "kxc2tool: paint needs --game-folder DIR\n"},
      {{"--game-folder", "G", "--map-number", "31"},
       "kxc2tool: option '--map-number' needs a whole number from 32 to 99, not '31'\n"},
      {{"--game-folder", "G", "--map-number", "100"},
       "kxc2tool: option '--map-number' needs a whole number from 32 to 99, not '100'\n"},
      {{"--game-folder", "G", "--columns", "45"},
       "kxc2tool: option '--columns' needs a whole number from 16 to 44, not '45'\n"},
      {{"--game-folder", "G", "--rows", "10"},
       "kxc2tool: option '--rows' needs a whole number from 11 to 39, not '10'\n"},
      {{"--game-folder", "G", "--colour"}, "kxc2tool: unknown option '--colour'\n"},
  };
  for (const UsageCase& c : cases) {
    std::vector<std::string> args = {"paint", map()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.err, c.message + "Try 'kxc2tool --help' for more information.\n");
  }
  EXPECT_EQ(test::ListFolder(userBmp()), std::vector<std::string>{});
}

TEST_F(CliPaintTest, MapNumberFromTheFileOutsideTheRangeIsAUsageError) {
  document_.header = {7, 16, 11};
  WriteMapFile(map(), document_);
  const ToolRun run = Tool({"paint", map(), "--game-folder", game_.folder()});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("--map-number"), std::string::npos) << run.err;
  EXPECT_EQ(Tool({"paint", map(), "--game-folder", game_.folder(), "--map-number", "32"}).exitCode, 0);
}

TEST_F(CliPaintTest, Failures) {
  const std::string tiles = work_.file("none.bmp");
  ToolRun run = Tool({"paint", map(), "--game-folder", game_.folder(), "--tiles", tiles});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: Cannot open file " + tiles + "\n");

  std::filesystem::remove(userBmp());
  run = Tool({"paint", map(), "--game-folder", game_.folder()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: Cannot create file " + piece("Map4500.bmp") + "\n");

  run = Tool({"paint", work_.file("missing.map"), "--game-folder", game_.folder()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: " + work_.file("missing.map") + ": File not found\n");
}

TEST_F(CliPaintTest, PreviewIsThePictureOfTheSameSeed) {
  test::WriteBmpFile(work_.path() / "tiles.bmp", test::PatternedTiles(3));
  const std::string png = work_.file("p.png");
  const ToolRun run = Tool({"preview", map(), png, "--tiles", work_.file("tiles.bmp"), "--seed", "77", "--rows", "39"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, png + "\n");
  const QImage saved(QString::fromStdString(png));
  ASSERT_EQ(saved.size(), QSize(646, 1925));

  const TileSet tiles(test::PatternedTiles(3));
  std::mt19937 random(77);
  const Image expected = PaintMapPicture(document_.grid, 16, 39, tiles, DrawVariants(random, 3));
  EXPECT_EQ(FromQImage(saved).convertToFormat(Image::Format_RGB32), expected.convertToFormat(Image::Format_RGB32));
}

TEST_F(CliPaintTest, PreviewErrors) {
  ToolRun run = Tool({"preview", map()});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "kxc2tool: missing output file\nTry 'kxc2tool --help' for more information.\n");

  const std::string png = work_.file("gone/p.png");
  run = Tool({"preview", map(), png});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: Cannot create file " + png + "\n");
  EXPECT_FALSE(std::filesystem::exists(work_.path() / "gone"));
}

}  // namespace
}  // namespace kxc2
