#include <gtest/gtest.h>

#include <filesystem>

#include "export/shp_file.h"
#include "export/shp_source_bitmap.h"
#include "tests/cli/run_tool.h"
#include "tests/export/shp/bmp_bytes.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

class Kxc2toolShp : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir.path() / "game" / "UserMap");
    for (const char* name : {"Map4500.bmp", "Map4501.bmp"}) test::WriteBytes(dir.path() / name, Bmp(2));
    test::WriteBytes(dir.path() / "game" / "UserMap" / "Map4599.shp", Bytes{'o', 'l', 'd'});
  }
  static Bytes Bmp(std::uint8_t index) {
    return test::MakeBmp({3, 2, 8, false, std::vector<PaletteColour>(256, {4, 8, 12}), Bytes(6, index)});
  }
  Names Shp(std::initializer_list<const char*> extra) const {
    Names args{"shp", dir.file("Map4500.bmp"), dir.file("Map4501.bmp"), "--game-folder", dir.file("game")};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
  fs::path userMap() const { return dir.path() / "game" / "UserMap"; }

  test::TempDir dir;
};

TEST_F(Kxc2toolShp, YesReplacesAndListsTheFiles) {
  const test::ToolResult run = test::RunToolTyped(dir, Shp({"--yes"}));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, (userMap() / "Map4500.shp").string() + "\n" + (userMap() / "Map4501.shp").string() + "\n");
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4500.shp", "Map4501.shp"}));
}

TEST_F(Kxc2toolShp, WithoutTerminalRefusesAndTouchesNothing) {
  const test::ToolResult run = test::RunToolTyped(dir, Shp({}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("One or more Map45*.shp files already exist.  DELETE them and write new SHPs?"),
            std::string::npos) << run.err;
  EXPECT_NE(run.err.find("\nNo terminal to answer on: nothing was changed; run again with --yes to answer Yes.\n"),
            std::string::npos) << run.err;
  EXPECT_EQ(test::ListFolder(userMap()), Names{"Map4599.shp"});
}

TEST_F(Kxc2toolShp, WithoutOldFilesNeedsNoAnswer) {
  fs::remove(userMap() / "Map4599.shp");
  EXPECT_EQ(test::RunToolTyped(dir, Shp({})).exitCode, 0);
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4500.shp", "Map4501.shp"}));
}

TEST_F(Kxc2toolShp, TerminalAnswers) {
  test::ToolResult run = test::RunToolTyped(dir, Shp({}), "n\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("DELETE them and write new SHPs? [y/N] "), std::string::npos) << run.err;
  EXPECT_EQ(test::ListFolder(userMap()), Names{"Map4599.shp"});
  run = test::RunToolTyped(dir, Shp({}), "y\n");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4500.shp", "Map4501.shp"}));
}

TEST_F(Kxc2toolShp, MakesUserMapWhenMissing) {
  fs::remove_all(userMap());
  EXPECT_EQ(test::RunToolTyped(dir, Shp({})).exitCode, 0);
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4500.shp", "Map4501.shp"}));
}

TEST_F(Kxc2toolShp, ErrorsAndUsage) {
  test::WriteBytes(dir.path() / "deep.bmp", test::MakeBmp24(2, 2));
  fs::create_directory(dir.path() / "folder.shp");
  IndexedBitmap small;
  small.width = small.height = 2;
  small.pixels.assign(4, 1);
  Bytes huge = EncodeShpFile(small);
  for (const std::size_t at : {16, 18, 32, 36}) huge[at] = huge[at + 1] = 0xFF;  // 65536 x 65536
  test::WriteBytes(dir.path() / "huge.shp", huge);
  test::WriteBytes(dir.path() / "small.shp", EncodeShpFile(small));
  struct Case {
    Names args;
    int exitCode;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"shp", dir.file("deep.bmp"), "--game-folder", dir.file("game")}, 1,
       "kxc2tool: " + dir.file("deep.bmp") + " is not an 8-bit bitmap\n"},
      {{"shp", dir.file("none.bmp"), "--game-folder", dir.file("game")}, 1,
       "kxc2tool: Cannot open file " + dir.file("none.bmp") + "\n"},
      {{"shp", dir.file("Map4500.bmp"), "--game-folder", dir.file("nowhere")}, 1,
       "kxc2tool: game folder " + dir.file("nowhere") + " is not a folder\n"},
      {{"shp", "--game-folder", dir.file("game")}, 2, "kxc2tool: shp needs at least one FILE.bmp\n"},
      {{"shp", dir.file("Map4500.bmp")}, 2, "kxc2tool: shp needs --game-folder DIR\n"},
      {{"unshp", "a.shp"}, 2, "kxc2tool: unshp needs FILE.shp and OUT.bmp\n"},
      {{"unshp", dir.file("none.shp"), dir.file("o.bmp")}, 1, "kxc2tool: " + dir.file("none.shp") + ": File not found\n"},
      {{"unshp", dir.file("folder.shp"), dir.file("o.bmp")}, 1,
       "kxc2tool: " + dir.file("folder.shp") + ": Invalid filename\n"},
      {{"unshp", dir.file("huge.shp"), dir.file("o.bmp")}, 1,
       "kxc2tool: " + dir.file("huge.shp") + ": malformed SHP file: image of 65536 x 65536 pixels is too large\n"},
      {{"unshp", dir.file("small.shp"), dir.file("nowhere/o.bmp")}, 1,
       "kxc2tool: Cannot create file " + dir.file("nowhere/o.bmp") + "\n"},
  };
  for (const Case& c : cases) {
    const test::ToolResult run = test::RunToolTyped(dir, c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args[1];
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
  }
  EXPECT_FALSE(fs::exists(dir.path() / "o.bmp"));
}

TEST_F(Kxc2toolShp, WriteFailureNamesTheFileAndKeepsEarlierOnes) {
  fs::create_directory(userMap() / "Map4501.shp");
  const test::ToolResult run = test::RunToolTyped(dir, Shp({"--yes"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, (userMap() / "Map4500.shp").string() + "\n");
  EXPECT_EQ(run.err, "kxc2tool: " + (userMap() / "Map4501.shp").string() + ": Invalid filename\n");
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4500.shp", "Map4501.shp"}));
  EXPECT_TRUE(fs::is_directory(userMap() / "Map4501.shp"));
}

TEST_F(Kxc2toolShp, UnshpRoundTrip) {
  IndexedBitmap image;
  image.width = 300;
  image.height = 7;
  image.pixels.resize(300 * 7);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i / 5 % 256);
  for (std::size_t i = 0; i < 256; ++i) image.palette[i] = {static_cast<std::uint8_t>(i / 4 * 4), 8, 252};
  image.palette[0] = {};
  const Bytes shp = EncodeShpFile(image);
  test::WriteBytes(dir.path() / "in.shp", shp);
  const test::ToolResult run = test::RunToolTyped(dir, {"unshp", dir.file("in.shp"), dir.file("out.bmp")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const Bytes bmp = test::ReadBytes(dir.path() / "out.bmp");
  EXPECT_EQ(bmp[28], 8);  // bits per pixel
  const IndexedBitmap back = LoadBitmapForShp(dir.file("out.bmp"));
  EXPECT_EQ(back.pixels, image.pixels);
  EXPECT_EQ(back.palette, image.palette);
  EXPECT_EQ(EncodeShpFile(back), shp);
}

TEST_F(Kxc2toolShp, UnshpRefusesAMalformedFileAndWritesNothing) {
  IndexedBitmap image;
  image.width = image.height = 4;
  image.pixels.assign(16, 1);
  Bytes shp = EncodeShpFile(image);
  shp[40] = 0x0A;  // a run of 5 in a row of 4
  test::WriteBytes(dir.path() / "bad.shp", shp);
  const test::ToolResult run = test::RunToolTyped(dir, {"unshp", dir.file("bad.shp"), dir.file("out.bmp")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "kxc2tool: " + dir.file("bad.shp") +
                         ": malformed SHP file: row 0 holds more than 4 pixels at offset 40\n");
  EXPECT_FALSE(fs::exists(dir.path() / "out.bmp"));
}

}  // namespace
}  // namespace kxc2
