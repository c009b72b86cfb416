#include <gtest/gtest.h>

#include <QImage>

#include "export/png_writer.h"
#include "tests/export/painter/painter_fixtures.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

// Both formats come back as the colours they show, an index beyond the
// table as black.
TEST(PngWriterTest, DecodesToTheColoursShown) {
  Image indexed(5, 3, Image::Format_Indexed8);
  indexed.setColorTable({MakeRgb(1, 2, 3), MakeRgb(250, 128, 7)});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) indexed.setPixel(x, y, (x + y) % 3);
  for (const Image& image : {indexed, indexed.convertToFormat(Image::Format_RGB32)}) {
    const std::vector<std::uint8_t> bytes = EncodePng(image);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    const QImage back = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "PNG");
    ASSERT_EQ(back.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const Rgb expected = (x + y) % 3 == 2 ? MakeRgb(0, 0, 0) : indexed.color((x + y) % 3);
        ASSERT_EQ(back.pixel(x, y), expected) << x << "," << y;
      }
  }
}

TEST(PngWriterTest, FailuresKeepTheOldFileAndNameThePath) {
  test::TempDir dir;
  Image image(640, 480, Image::Format_RGB32);
  const std::string missing = dir.file("gone/a.png");
  try {
    SavePng(missing, image);
    FAIL() << "saved into a missing folder";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), ("Cannot create file " + missing).c_str());
  }
  // Noise keeps the file large enough to pass the limit.
  std::uint32_t state = 7;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) image.setPixel(x, y, state = state * 1103515245 + 12345);
  test::WriteBytes(dir.path() / "a.png", {'o', 'l', 'd'});
  const int result = test::RunWithFileSizeLimit(50000, [&] {
    try {
      SavePng(dir.file("a.png"), image);
    } catch (const std::runtime_error& error) {
      return std::string(error.what()).starts_with("Cannot write file " + dir.file("a.png") + ": ") ? 3 : 4;
    }
    return 0;
  });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(test::ReadBytes(dir.path() / "a.png"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"a.png"});
}

}  // namespace
}  // namespace kxc2
