// What a painting does on disk: the question about old pieces, deletion,
// and what is left after a failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "export/map_painter.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

const std::vector<std::uint8_t> kOld = {'o', 'l', 'd'};

class PaintFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(userBmp());
    request_.mapNumber = 45;
    request_.columns = 16;
    request_.rows = 11;
    request_.gameFolder = game_.folder();
    request_.programFolder = program_.folder();
    test::WriteBmpFile(program_.path() / "ST50x45.bmp", test::PatternedTiles(1));
  }

  std::filesystem::path userBmp() const { return game_.path() / "UserBMP"; }

  PaintResult Paint(bool answer) {
    return PaintMapBitmaps(document_, request_, [this, answer](const std::string& question) {
      questions_.push_back(question);
      return answer;
    });
  }

  std::string ErrorOfPaint() {
    try {
      Paint(true);
    } catch (const std::runtime_error& error) {
      return error.what();
    }
    return "no error";
  }

  test::TempDir game_;
  test::TempDir program_;
  MapDocument document_;
  PaintRequest request_;
  std::vector<std::string> questions_;
};

TEST_F(PaintFilesTest, NoOldPiecesNoQuestion) {
  test::WriteBytes(userBmp() / "Map4600.bmp", kOld);  // another map number
  test::WriteBytes(userBmp() / "Map45.txt", kOld);
  const PaintResult result = Paint(false);
  EXPECT_TRUE(result.painted);
  EXPECT_TRUE(questions_.empty());
  EXPECT_EQ(test::ListFolder(userBmp()),
            (std::vector<std::string>{"Map45.txt", "Map4500.bmp", "Map4501.bmp", "Map4510.bmp", "Map4511.bmp",
                                      "Map4600.bmp"}));
  EXPECT_EQ(test::ReadBytes(userBmp() / "Map4600.bmp"), kOld);
}

TEST_F(PaintFilesTest, NoKeepsOldPiecesAndPaintsNothing) {
  test::WriteBytes(userBmp() / "Map4514.bmp", kOld);
  const PaintResult result = Paint(false);
  EXPECT_FALSE(result.painted);
  EXPECT_TRUE(result.files.empty());
  EXPECT_EQ(questions_,
            std::vector<std::string>{"One or more Map45*.bmp files already exist.  DELETE them and create new bitmaps?"});
  EXPECT_EQ(test::ListFolder(userBmp()), std::vector<std::string>{"Map4514.bmp"});
  EXPECT_EQ(test::ReadBytes(userBmp() / "Map4514.bmp"), kOld);
}

TEST_F(PaintFilesTest, YesDeletesEveryOrdinaryMatchOfThisMapNumberOnly) {
  request_.mapNumber = 32;
  for (const char* name : {"Map3224.bmp", "map32x.BMP", "Map32.bmp", "Map3200.bmp", "Map33.bmp", "XMap32.bmp"})
    test::WriteBytes(userBmp() / name, kOld);
  std::filesystem::create_directory(userBmp() / "Map32dir.bmp");
  const PaintResult result = Paint(true);
  ASSERT_TRUE(result.painted);
  EXPECT_EQ(questions_.size(), 1u);
  EXPECT_EQ(test::ListFolder(userBmp()),
            (std::vector<std::string>{"Map3200.bmp", "Map3201.bmp", "Map3210.bmp", "Map3211.bmp", "Map32dir.bmp",
                                      "Map33.bmp", "XMap32.bmp"}));
  EXPECT_NE(test::ReadBytes(userBmp() / "Map3200.bmp"), kOld);
}

TEST_F(PaintFilesTest, UserBmpIsFoundWhateverItsCase) {
  std::filesystem::remove(userBmp());
  std::filesystem::create_directory(game_.path() / "USERBMP");
  test::WriteBytes(game_.path() / "USERBMP" / "Map4599.bmp", kOld);
  const PaintResult result = Paint(true);
  ASSERT_TRUE(result.painted);
  EXPECT_EQ(result.files.front(), game_.folder() + "USERBMP/Map4500.bmp");
  EXPECT_EQ(test::ListFolder(game_.path() / "USERBMP").size(), 4u);
}

TEST_F(PaintFilesTest, MissingUserBmpIsCannotCreateFile) {
  std::filesystem::remove(userBmp());
  EXPECT_EQ(ErrorOfPaint(), "Cannot create file " + game_.folder() + "UserBMP/Map4500.bmp");
  EXPECT_EQ(test::ListFolder(game_.path()), std::vector<std::string>{});
}

TEST_F(PaintFilesTest, FailureKeepsEarlierPieces) {
  std::filesystem::create_directory(userBmp() / "Map4501.bmp");  // in the way of the second piece
  EXPECT_EQ(ErrorOfPaint(), "Cannot create file " + game_.folder() + "UserBMP/Map4501.bmp");
  EXPECT_EQ(test::ListFolder(userBmp()), (std::vector<std::string>{"Map4500.bmp", "Map4501.bmp"}));
  EXPECT_EQ(test::ReadBytes(userBmp() / "Map4500.bmp").size(), 1078u + 640u * 480u);
}

TEST_F(PaintFilesTest, FailedWriteLeavesNoPartialPiece) {
  // Room for the small pieces only: the first, 640 x 480, cannot be written.
  const int result = test::RunWithFileSizeLimit(100000, [this] {
    try {
      Paint(true);
    } catch (const std::exception&) {
      return 3;
    }
    return 0;
  });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(test::ListFolder(userBmp()), std::vector<std::string>{});
}

TEST_F(PaintFilesTest, BadTileSetEndsAfterTheDeletion) {
  test::WriteBytes(program_.path() / "ST50x45.bmp", {'B', 'M', 0});
  test::WriteBytes(userBmp() / "Map4500.bmp", kOld);
  EXPECT_EQ(ErrorOfPaint(), "Bitmap image is not valid");
  EXPECT_EQ(test::ListFolder(userBmp()), std::vector<std::string>{});
}

TEST_F(PaintFilesTest, ExplicitTileSetFileReplacesTheLookup) {
  test::TempDir other;
  test::WriteBmpFile(other.path() / "tiles.bmp", test::PatternedTiles(3));
  request_.tileSetFile = other.file("tiles.bmp");
  request_.seed = 11;
  const PaintResult result = Paint(true);
  ASSERT_TRUE(result.painted);
  // Same seed, same variants, same bytes.
  const auto first = test::ReadBytes(userBmp() / "Map4500.bmp");
  Paint(true);
  EXPECT_EQ(test::ReadBytes(userBmp() / "Map4500.bmp"), first);
  request_.seed = 12;
  Paint(true);
  EXPECT_NE(test::ReadBytes(userBmp() / "Map4500.bmp"), first);
}

TEST_F(PaintFilesTest, ParametersOutsideTheDialogRangesAreRefused) {
  for (auto [number, columns, rows] : {std::tuple{31, 16, 11}, {100, 16, 11}, {45, 15, 11}, {45, 45, 11},
                                       {45, 16, 10}, {45, 16, 40}}) {
    request_.mapNumber = number;
    request_.columns = columns;
    request_.rows = rows;
    EXPECT_THROW(Paint(true), std::invalid_argument) << number << " " << columns << " " << rows;
  }
  EXPECT_EQ(test::ListFolder(userBmp()), std::vector<std::string>{});
}

}  // namespace
}  // namespace kxc2
