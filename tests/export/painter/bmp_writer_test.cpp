#include <gtest/gtest.h>

#include <QImage>

#include "export/bmp_writer.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

TEST(BmpWriterTest, ExactBytesOfASmallImage) {
  Image image(3, 2, Image::Format_Indexed8);
  image.setColorTable({MakeRgb(1, 2, 3), MakeRgb(250, 128, 7)});
  image.setPixel(0, 0, 1);
  image.setPixel(1, 0, 0);
  image.setPixel(2, 0, 1);
  image.setPixel(0, 1, 0);
  image.setPixel(1, 1, 0);
  image.setPixel(2, 1, 1);
  const std::vector<std::uint8_t> bytes = EncodeBmp8(image);

  std::vector<std::uint8_t> expected = {
      'B', 'M', 0x3E, 0x04, 0, 0, 0, 0, 0, 0, 0x36, 0x04, 0, 0,  // size 1078 + 8, offset 1078
      40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0,           // 3 x 2, bottom-up, 8 bits
      0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,            // no compression, 8 bytes of pixels
      0, 1, 0, 0, 0, 0, 0, 0,                                    // 256 colours used
      3, 2, 1, 0, 7, 128, 250, 0};                               // blue, green, red
  expected.resize(54 + 1024, 0);                                 // the rest of the table black
  for (std::uint8_t b : {0, 0, 1, 0, 1, 0, 1, 0}) expected.push_back(b);  // bottom row first, padded to 4
  EXPECT_EQ(bytes, expected);
}

// The file's sizes are 32-bit fields: a file that would pass 4 GB is
// refused, not written with sizes wrapped to something small.
TEST(BmpWriterTest, FileSizeIsCountedIn64BitsAndCappedAt4GB) {
  const struct {
    std::uint64_t width;
    std::uint64_t height;
    std::uint64_t size;  // 0: std::length_error
  } cases[] = {
      {3, 2, 1078 + 8},
      {4, 1073741554, 4294967294u},     // the largest that fits
      {4, 1073741555, 0},               // four bytes over
      {65536, 65536, 0},                // 2^32 of pixels, 0 in 32 bits
      {65535, 65538, 0},                // stride 65536
      {0x100000000u, 1, 0},             // a side beyond 32 bits
      {1, 0x100000001u, 0},
      {4294966216u, 1, 4294967294u},
  };
  for (const auto& c : cases) {
    if (c.size == 0) {
      EXPECT_THROW(Bmp8FileSize(c.width, c.height), std::length_error) << c.width << " x " << c.height;
    } else {
      EXPECT_EQ(Bmp8FileSize(c.width, c.height), c.size) << c.width << " x " << c.height;
    }
  }
  Image image(37, 5, Image::Format_Indexed8);
  image.fill(0);
  EXPECT_EQ(EncodeBmp8(image).size(), Bmp8FileSize(37, 5));
}

TEST(BmpWriterTest, QtReadsItBackAsEightBitsWithAFullTable) {
  Image image(37, 5, Image::Format_Indexed8);
  image.setColorTable({MakeRgb(9, 9, 9), MakeRgb(200, 100, 50), MakeRgb(1, 255, 1)});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 37; ++x) image.setPixel(x, y, (x + y) % 3);
  test::TempDir dir;
  SaveBmp8(dir.file("a.bmp"), image);
  QImage back(QString::fromStdString(dir.file("a.bmp")));
  ASSERT_EQ(back.format(), QImage::Format_Indexed8);
  EXPECT_EQ(back.colorCount(), 256);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(back.pixelIndex(x, y), (x + y) % 3);
  EXPECT_EQ(back.colorTable().mid(0, 3), QList<QRgb>(image.colorTable().begin(), image.colorTable().end()));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"a.bmp"});
}

TEST(BmpWriterTest, MissingFolderIsCannotCreateFile) {
  test::TempDir dir;
  Image image(4, 4, Image::Format_Indexed8);
  image.setColorCount(2);
  image.fill(0);
  const std::string path = dir.file("gone/a.bmp");
  try {
    SaveBmp8(path, image);
    FAIL() << "saved into a missing folder";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), ("Cannot create file " + path).c_str());
  }
}

TEST(BmpWriterTest, FailedWriteLeavesNeitherPartNorOldFileDamaged) {
  test::TempDir dir;
  test::WriteBytes(dir.path() / "a.bmp", {'o', 'l', 'd'});
  Image image(640, 480, Image::Format_Indexed8);
  image.setColorCount(256);
  image.fill(7);
  const int result = test::RunWithFileSizeLimit(50000, [&] {
    try {
      SaveBmp8(dir.file("a.bmp"), image);
    } catch (const std::exception&) {
      return 3;
    }
    return 0;
  });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(test::ReadBytes(dir.path() / "a.bmp"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"a.bmp"});
}

}  // namespace
}  // namespace kxc2
