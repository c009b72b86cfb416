// Paint .BMPs and Draw .SHPs as the user meets them: dialogs, questions,
// notices and what is left on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "export/bmp_reader.h"
#include "export/bmp_writer.h"
#include "tests/editing/scripted_shell.h"

namespace kxc2::test {
namespace {

namespace fs = std::filesystem;

const char* const kPainted = "Bitmaps painted.  If you haven't already done so, you should save your map now.";
const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};
const std::vector<std::string> kPieces = {"Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp"};

using Texts = std::vector<std::string>;

class ArtTest : public EditorTest {
 protected:
  void SetUp() override { startWithNewMap(); }
  fs::path userBmp() const { return game.path() / "UserBMP"; }
  fs::path userMap() const { return game.path() / "UserMap"; }
  // A tile set of one colour: every pixel of a piece painted with it is index.
  static void saveTileSet(const std::string& path, int index, Rgb colour) {
    Image tiles(765, 50, Image::Format_Indexed8);
    std::vector<Rgb> palette(256, MakeRgb(0, 0, 0));
    palette[std::size_t(index)] = colour;
    tiles.setColorTable(palette);
    tiles.fill(std::uint32_t(index));
    SaveBmp8(path, tiles);
  }
};

TEST_F(ArtTest, PaintBmpsOutcomes) {
  enum Old { None, Kept, Replaced, NoFolder };
  const struct {
    const char* name;
    bool ok;
    Old old;
    Texts warnings, notices, errors;
    std::vector<std::string> pieces;
  } cases[] = {
      {"cancelled", false, None, {}, {}, {}, {}},
      {"painted", true, None, {}, {kPainted}, {}, kPieces},
      {"old pieces kept", true, Kept, {"One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?"},
       {}, {}, {"Map4577.bmp"}},
      {"old pieces replaced", true, Replaced,
       {"One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?"}, {kPainted}, {}, kPieces},
      {"no folder", true, NoFolder, {}, {}, {"Cannot create file " + game.folder() + Native("UserBMP/Map4500.bmp")}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(userBmp());
    if (c.old != NoFolder) fs::create_directory(userBmp());
    if (c.old == Kept || c.old == Replaced) WriteBytes(userBmp() / "Map4577.bmp", kOld);
    shell.clear();
    editor->document().header = {50, 60, 5};
    c.ok ? okParameters(45, 16, 11) : cancelParameters(45);
    if (c.old == Kept || c.old == Replaced) shell.warnAnswers = {c.old == Replaced};
    editor->PaintBMPs1Click();
    ASSERT_EQ(shell.parametersShown.size(), 1u);
    EXPECT_EQ(shell.parametersShown[0].columns, 60);  // the dialog brings them into its ranges
    EXPECT_EQ(shell.parametersShown[0].rows, 5);
    EXPECT_TRUE(shell.parametersShown[0].seasonEnabled);
    // The dialog's values stand, whatever becomes of the painting.
    EXPECT_EQ(editor->document().header, c.ok ? (MapHeader{45, 16, 11}) : (MapHeader{50, 60, 5}));
    EXPECT_EQ(shell.warnQuestions, c.warnings);
    EXPECT_EQ(shell.notices, c.notices);
    EXPECT_EQ(shell.errors, c.errors);
    EXPECT_EQ(fs::exists(userBmp()) ? ListFolder(userBmp()) : std::vector<std::string>{}, c.pieces);
    if (c.old == Kept) {
      EXPECT_EQ(ReadBytes(userBmp() / "Map4577.bmp"), kOld);
    }
  }
}

// The winter set beside the program; without one there, the summer set in
// the user's folder.
TEST_F(ArtTest, TileSetsBesideTheProgramOrInTheUserFolder) {
  EXPECT_EQ(editor->userFolder(), Native(user.folder() + "KxC2Map/"));
  fs::create_directories(editor->userFolder());
  saveTileSet(program.file("WT50x45.bmp"), 3, MakeRgb(1, 2, 3));
  saveTileSet(editor->userFolder() + "ST50x45.bmp", 5, MakeRgb(4, 5, 6));
  const struct {
    bool winter;
    const char* piece;
    Size size;
    int index;
    Rgb colour;
  } cases[] = {{true, "Map4511.bmp", {6, 45}, 3, MakeRgb(1, 2, 3)}, {false, "Map4500.bmp", {640, 480}, 5, MakeRgb(4, 5, 6)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.piece);
    okParameters(45, 16, 11, c.winter);
    shell.warnAnswers = {true};
    editor->PaintBMPs1Click();
    const Image piece = ReadIndexedBmp(ReadBytes(userBmp() / c.piece), c.piece);
    ASSERT_EQ(piece.size(), c.size);
    EXPECT_EQ(piece.pixelIndex(0, 0), c.index);
    EXPECT_EQ(piece.pixelIndex(c.size.width() - 1, c.size.height() - 1), c.index);
    EXPECT_EQ(piece.color(c.index), c.colour);
  }
}

// Draw .SHPs lends OpenDialog1 and gets it back the same however it ends.
TEST_F(ArtTest, WriteShpsOutcomes) {
  const std::string bitmap = (userBmp() / "Map4500.bmp").string();
  Image picture(8, 4, Image::Format_Indexed8);
  picture.setColorCount(256);
  picture.fill(5);
  SaveBmp8(bitmap, picture);
  const struct {
    const char* name;
    std::vector<std::string> chosen;  // none: cancelled
    std::deque<bool> answers;
    Texts warnings, notices;
    const char* error;  // the start of the one error
    std::vector<std::string> shps;
  } cases[] = {
      {"cancelled", {}, {}, {}, {}, nullptr, {"Map4599.shp"}},
      {"No", {bitmap}, {false}, {"One or more Map45*.shp files already exist.  DELETE them and write new SHPs?"}, {},
       nullptr, {"Map4599.shp"}},
      {"an error", {(userBmp() / "Map4700.bmp").string()}, {}, {}, {}, "Cannot open file", {"Map4599.shp"}},
      {"drawn", {bitmap}, {true}, {"One or more Map45*.shp files already exist.  DELETE them and write new SHPs?"},
       {"SHP files drawn."}, nullptr, {"Map4500.shp"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(userMap()), fs::create_directory(userMap());
    WriteBytes(userMap() / "Map4599.shp", kOld);
    shell.clear();
    editor->OpenDialog1.fileName = "left.map";
    if (!c.chosen.empty()) {
      shell.openChoices.push_back([&c](Shell::FileDialogState& state) {
        state.files = c.chosen;
        state.fileName = c.chosen.front();
        return true;
      });
    }
    shell.warnAnswers = c.answers;
    editor->WriteSHPs1Click();
    ASSERT_EQ(shell.openShown.size(), 1u);
    const Shell::FileDialogState& shown = shell.openShown[0];
    EXPECT_TRUE(shown.multiSelect);
    EXPECT_EQ(shown.filterIndex, 2);
    EXPECT_EQ(shown.title, "Convert bitmaps to SHPs");
    EXPECT_EQ(shown.initialFolder, game.folder() + "UserBMP");
    EXPECT_EQ(shown.fileName, "");
    EXPECT_FALSE(editor->OpenDialog1.multiSelect);
    EXPECT_EQ(editor->OpenDialog1.filterIndex, 1);
    EXPECT_EQ(shell.warnQuestions, c.warnings);
    EXPECT_EQ(shell.notices, c.notices);
    ASSERT_EQ(shell.errors.size(), c.error ? 1u : 0u);
    if (c.error) {
      EXPECT_EQ(shell.errors[0].rfind(c.error, 0), 0u) << shell.errors[0];
    }
    EXPECT_EQ(ListFolder(userMap()), c.shps);
  }
}

}  // namespace
}  // namespace kxc2::test
