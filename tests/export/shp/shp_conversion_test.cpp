#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "core/game_paths.h"
#include "core/io_error.h"
#include "export/shp_conversion.h"
#include "export/shp_file.h"
#include "export/shp_source_bitmap.h"
#include "tests/export/shp/bmp_bytes.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

TEST(ShpNames, MapNumbers) {
  struct Case {
    const char* name;
    std::optional<int> number;
  };
  for (const Case& c : {Case{"Map4512.bmp", 45}, Case{"mAp45x.bmp", 45}, Case{"MaP00", 0}, Case{"MAP99.BMP", 99},
                        Case{"Map5.bmp", {}}, Case{"Mapx1.bmp", {}}, Case{"Map4", {}}, Case{"Mop45.bmp", {}},
                        Case{"Map 45.bmp", {}}, Case{"a.b.bmp", {}}, Case{"", {}}, Case{"Ma\xD0\x9F" "45.bmp", {}}})
    EXPECT_EQ(MapNumberOfFile(c.name), c.number) << c.name;
}

TEST(ShpNames, OutputNames) {
  struct Case {
    const char* path;
    const char* name;
  };
  for (const Case& c : {Case{"/g/UserBMP/Map4512.bmp", "Map4512.shp"}, Case{"/x/a.b.bmp", "a.shp"},
                        Case{"/x/mAp45x.BMP", "mAp45x.shp"}, Case{"/x.y/noext", "noext.shp"},
                        Case{"rel/Map5.bmp", "Map5.shp"}, Case{"Mapx1.bmp", "Mapx1.shp"}})
    EXPECT_EQ(ShpNameForBitmap(c.path), c.name) << c.path;
}

TEST(ShpNames, QuestionAndPattern) {
  EXPECT_EQ(ShpPatternForMap(5), "Map05*.shp");
  EXPECT_EQ(ShpPatternForMap(45), "Map45*.shp");
  EXPECT_EQ(ShpOverwriteQuestion(7),
            "One or more Map07*.shp files already exist.  DELETE them and write new SHPs?");
}

// A game folder with UserMap and a folder of bitmaps elsewhere.
class ShpConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir.path() / "game");
    fs::create_directory(dir.path() / "game" / "UserMap");
    fs::create_directory(dir.path() / "pictures");
  }

  std::string game() const { return WithTrailingSeparator(dir.file("game")); }
  fs::path userMap() const { return dir.path() / "game" / "UserMap"; }

  std::string Bitmap(const std::string& name, std::uint8_t index = 5, int width = 640, int height = 480) {
    std::vector<PaletteColour> palette(256, PaletteColour{8, 16, 32});
    const std::string path = dir.file("pictures/" + name);
    test::WriteBytes(path, test::MakeBmp({width, height, 8, false, palette,
                                          Bytes(static_cast<std::size_t>(width) * height, index)}));
    return path;
  }

  void OldShp(const std::string& name) { test::WriteBytes(userMap() / name, Bytes{'o', 'l', 'd'}); }

  ShpConversionResult Convert(const Names& paths, bool answer = true) {
    return ConvertBitmapsToShp(paths, game(), [&](const std::string& q) {
      questions.push_back(q);
      return answer;
    });
  }

  test::TempDir dir;
  Names questions;
};

TEST_F(ShpConversion, GroupedDeletionAsksOncePerMap) {
  OldShp("Map4500.shp");
  OldShp("map4599.SHP");
  OldShp("Map4600.shp");
  OldShp("Other.shp");
  const ShpConversionResult result =
      Convert({Bitmap("Map4500.bmp"), Bitmap("Map4501.bmp"), Bitmap("Map4510.bmp")});
  EXPECT_EQ(questions, Names{ShpOverwriteQuestion(45)});
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.written, (Names{(userMap() / "Map4500.shp").string(), (userMap() / "Map4501.shp").string(),
                                   (userMap() / "Map4510.shp").string()}));
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4500.shp", "Map4501.shp", "Map4510.shp", "Map4600.shp", "Other.shp"}));
  EXPECT_EQ(test::ReadBytes(userMap() / "Map4510.shp").size(), 7304u);
  EXPECT_EQ(test::ReadBytes(userMap() / "Map4510.shp"),
            EncodeShpFile(LoadBitmapForShp(dir.file("pictures/Map4510.bmp"))));
}

TEST_F(ShpConversion, NoQuestionWithoutOldFilesOrMapNumber) {
  OldShp("Map5.shp");
  const ShpConversionResult result = Convert({Bitmap("Map5.bmp", 1, 2, 2), Bitmap("Mapx1.bmp", 1, 2, 2),
                                              Bitmap("a.b.bmp", 1, 2, 2), Bitmap("Map4512.bmp", 1, 2, 2)});
  EXPECT_TRUE(questions.empty());
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"Map4512.shp", "Map5.shp", "Mapx1.shp", "a.shp"}));
  EXPECT_EQ(test::ReadBytes(userMap() / "Map5.shp").size(), 40u + 2 * 3 + 1024);
}

TEST_F(ShpConversion, NoAfterAnEarlierDeletionStopsBeforeConverting) {
  OldShp("Map4500.shp");
  OldShp("Map4600.shp");
  int asked = 0;
  const ShpConversionResult result = ConvertBitmapsToShp(
      {Bitmap("Map4500.bmp"), Bitmap("mAp45x.bmp"), Bitmap("Map4600.bmp"), Bitmap("Map4700.bmp")}, game(),
      [&](const std::string& q) {
        questions.push_back(q);
        return ++asked == 1;
      });
  EXPECT_FALSE(result.completed);
  EXPECT_TRUE(result.written.empty());
  EXPECT_EQ(questions, (Names{ShpOverwriteQuestion(45), ShpOverwriteQuestion(46)}));
  EXPECT_EQ(test::ListFolder(userMap()), Names{"Map4600.shp"});  // map 45's stay deleted
}

TEST_F(ShpConversion, OnlyOrdinaryVisibleFilesAreDeleted) {
  fs::create_directory(userMap() / "Map45dir.shp");
  OldShp(".Map45hidden.shp");
  OldShp("MAP4501.SHP");
  Convert({Bitmap("Map4501.bmp", 1, 2, 2)});
  EXPECT_EQ(questions.size(), 1u);
  EXPECT_EQ(test::ListFolder(userMap()), (Names{".Map45hidden.shp", "Map4501.shp", "Map45dir.shp"}));
}

TEST_F(ShpConversion, OnlyFolderMatchingAsksNothing) {
  fs::create_directory(userMap() / "Map45dir.shp");
  Convert({Bitmap("Map4501.bmp", 1, 2, 2)});
  EXPECT_TRUE(questions.empty());
}

TEST_F(ShpConversion, UserMapOfAnyCaseAndOldNameOfAnyCase) {
  // Made anew: Wine keeps a folder's case through a rename.
  fs::remove(userMap());
  fs::create_directory(dir.path() / "game" / "USERMAP");
  test::WriteBytes(dir.path() / "game" / "USERMAP" / "A.SHP", Bytes{'o', 'l', 'd'});
  const ShpConversionResult result = Convert({Bitmap("a.b.bmp", 1, 2, 2)});
  EXPECT_EQ(result.written, Names{(dir.path() / "game" / "USERMAP" / "A.SHP").string()});
  EXPECT_EQ(test::ListFolder(dir.path() / "game" / "USERMAP"), Names{"A.SHP"});
  EXPECT_EQ(test::ReadBytes(dir.path() / "game" / "USERMAP" / "A.SHP").size(), 40u + 6 + 1024);
}

TEST_F(ShpConversion, BadBitmapEndsTheCommandKeepingEarlierFiles) {
  const Names paths = {Bitmap("one.bmp", 1, 2, 2), dir.file("pictures/missing.bmp"), Bitmap("three.bmp", 1, 2, 2)};
  test::WriteBytes(dir.file("pictures/deep.bmp"), test::MakeBmp24(2, 2));
  try {
    Convert(paths);
    FAIL();
  } catch (const BitmapLoadError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + dir.file("pictures/missing.bmp"));
  }
  EXPECT_EQ(test::ListFolder(userMap()), Names{"one.shp"});
  try {
    Convert({dir.file("pictures/deep.bmp")});
    FAIL();
  } catch (const BitmapLoadError& error) {
    EXPECT_EQ(std::string(error.what()), dir.file("pictures/deep.bmp") + " is not an 8-bit bitmap");
  }
}

TEST_F(ShpConversion, FolderInTheWayOfAnOutput) {
  fs::create_directory(userMap() / "two.shp");
  try {
    Convert({Bitmap("one.bmp", 1, 2, 2), Bitmap("two.bmp", 1, 2, 2), Bitmap("three.bmp", 1, 2, 2)});
    FAIL();
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
  EXPECT_EQ(test::ListFolder(userMap()), (Names{"one.shp", "two.shp"}));
  EXPECT_TRUE(fs::is_directory(userMap() / "two.shp"));
}

// The disk fills while the second file is written: the first stays, the
// second leaves nothing under its name, the third is never started.
TEST_F(ShpConversion, DiskFullPartWay) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions, the nobody user and a file size limit need fork";
#else
  const Names paths = {Bitmap("one.bmp", 1, 30, 30), Bitmap("two.bmp", 2, 2000, 300), Bitmap("three.bmp", 3, 2, 2)};
  const int code = test::RunWithFileSizeLimit(4096, [&] {
    try {
      Convert(paths);
    } catch (const IoError& error) {
      return std::string(error.what()) == "Disk full" ? 0 : 2;
    }
    return 1;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(test::ListFolder(userMap()), Names{"one.shp"});
#endif
}

TEST_F(ShpConversion, ReadOnlyUserMapKeepsOldFiles) {
#ifdef _WIN32
  GTEST_SKIP() << "POSIX permissions, the nobody user and a file size limit need fork";
#else
  OldShp("Map4500.shp");
  const Names paths = {Bitmap("Map4500.bmp", 1, 2, 2)};
  fs::permissions(dir.path(), fs::perms::others_exec, fs::perm_options::add);
  fs::permissions(dir.path() / "pictures", fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add);
  fs::permissions(dir.path() / "pictures" / "Map4500.bmp", fs::perms::others_read, fs::perm_options::add);
  fs::permissions(dir.path() / "game", fs::perms::others_exec, fs::perm_options::add);
  const auto readOnly = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
  fs::permissions(userMap(), readOnly, fs::perm_options::replace);
  const int code = test::RunInChild(
      [&] {
        try {
          Convert(paths);
        } catch (const IoError& error) {
          return std::string(error.what()) == "File access denied" && questions.size() == 1 ? 0 : 2;
        }
        return 1;
      },
      /*dropRoot=*/true);
  fs::permissions(userMap(), fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(test::ListFolder(userMap()), Names{"Map4500.shp"});
  EXPECT_EQ(test::ReadBytes(userMap() / "Map4500.shp"), (Bytes{'o', 'l', 'd'}));
#endif
}

}  // namespace
}  // namespace kxc2
