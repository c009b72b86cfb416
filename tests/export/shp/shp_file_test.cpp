#include <gtest/gtest.h>

#include "core/io_error.h"
#include "export/shp_decoder.h"
#include "export/shp_file.h"
#include "tests/support/temp_dir.h"

namespace kxc2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

IndexedBitmap Filled(std::size_t width, std::size_t height, std::uint8_t index) {
  IndexedBitmap image;
  image.width = width;
  image.height = height;
  image.pixels.assign(width * height, index);
  for (std::size_t i = 0; i < 256; ++i)
    image.palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                        static_cast<std::uint8_t>(i * 3)};
  return image;
}

std::uint32_t U32At(const Bytes& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

TEST(ShpFile, OneColour640x480) {
  const Bytes file = EncodeShpFile(Filled(640, 480, 0x2A));
  ASSERT_EQ(file.size(), 7304u);
  const Bytes header(file.begin(), file.begin() + 40);
  const Bytes expected = {'1', '.', '1', '0', 1, 0, 0, 0, 16, 0, 0, 0, 0x88, 0x18, 0, 0,  // P = 6280
                          0xDF, 0x01, 0x7F, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0x7F, 0x02, 0, 0, 0xDF, 0x01, 0, 0};
  EXPECT_EQ(header, expected);
  const Bytes row = {0xFE, 0x2A, 0xFE, 0x2A, 0xFE, 0x2A, 0xFE, 0x2A, 0xFE, 0x2A, 0x0A, 0x2A, 0x00};
  for (std::size_t y = 0; y < 480; ++y)
    ASSERT_EQ(Bytes(file.begin() + 40 + 13 * y, file.begin() + 53 + 13 * y), row) << "row " << y;
}

TEST(ShpFile, PaletteBlockHasEntries1To255DividedBy4) {
  const Bytes file = EncodeShpFile(Filled(3, 2, 7));
  const std::uint32_t p = U32At(file, 12);
  ASSERT_EQ(file.size(), p + 1024);
  EXPECT_EQ(Bytes(file.begin() + p, file.begin() + p + 4), (Bytes{0xFF, 0, 0, 0}));
  for (std::size_t index = 1; index <= 255; ++index) {
    const std::size_t at = p + 4 * index;
    ASSERT_EQ(file[at], index);
    ASSERT_EQ(file[at + 1], index / 4);
    ASSERT_EQ(file[at + 2], (255 - index) / 4);
    ASSERT_EQ(file[at + 3], (index * 3 % 256) / 4);
  }
}

TEST(ShpFile, FixedFieldsAndPointerForOddSizes) {
  struct Case {
    std::size_t width, height;
  };
  for (const Case c : {Case{1, 1}, Case{1, 7}, Case{65536, 1}, Case{2, 65536}}) {
    const Bytes file = EncodeShpFile(Filled(c.width, c.height, 1));
    EXPECT_EQ(U32At(file, 4), 1u);
    EXPECT_EQ(U32At(file, 8), 16u);
    EXPECT_EQ(U32At(file, 12) + 1024, file.size());
    EXPECT_EQ(file[16] | file[17] << 8, (c.height - 1) & 0xFFFF);
    EXPECT_EQ(file[18] | file[19] << 8, (c.width - 1) & 0xFFFF);
    EXPECT_EQ(file[32] | file[33] << 8, (c.width - 1) & 0xFFFF);
    EXPECT_EQ(file[36] | file[37] << 8, (c.height - 1) & 0xFFFF);
  }
}

TEST(ShpFile, OnePixelWideRowsAreLiteralPackets) {
  IndexedBitmap image = Filled(1, 4, 0);
  image.pixels = {9, 8, 8, 200};
  const Bytes file = EncodeShpFile(image);
  EXPECT_EQ(Bytes(file.begin() + 40, file.begin() + 52), (Bytes{3, 9, 0, 3, 8, 0, 3, 8, 0, 3, 200, 0}));
  EXPECT_EQ(U32At(file, 12), 52u);
}

TEST(ShpFile, RefusesSizesTheHeaderCannotHold) {
  EXPECT_THROW(EncodeShpFile(Filled(0, 3, 1)), std::invalid_argument);
  EXPECT_THROW(EncodeShpFile(Filled(3, 0, 1)), std::invalid_argument);
  EXPECT_THROW(EncodeShpFile(Filled(65537, 1, 1)), std::invalid_argument);
  IndexedBitmap shortPixels = Filled(4, 4, 1);
  shortPixels.pixels.pop_back();
  EXPECT_THROW(EncodeShpFile(shortPixels), std::invalid_argument);
}

TEST(ShpFile, DecodesToTheSameImage) {
  IndexedBitmap image = Filled(37, 5, 0);
  for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i * i % 7);
  const IndexedBitmap back = DecodeShpFile(EncodeShpFile(image));
  EXPECT_EQ(back.width, 37u);
  EXPECT_EQ(back.height, 5u);
  EXPECT_EQ(back.pixels, image.pixels);
  EXPECT_EQ(back.palette[0], (PaletteColour{0, 0, 0}));  // index 0 has no entry
  EXPECT_EQ(back.palette[200], (PaletteColour{200, 52, 88}));
}

TEST(ShpFile, WriteReplacesAndLeavesNothingElse) {
  test::TempDir dir;
  const std::string path = dir.file("Map4500.shp");
  test::WriteBytes(path, Bytes(5000, 0x55));
  const IndexedBitmap image = Filled(10, 10, 3);
  WriteShpFile(path, image);
  EXPECT_EQ(test::ReadBytes(path), EncodeShpFile(image));
  EXPECT_EQ(test::ListFolder(dir.path()), std::vector<std::string>{"Map4500.shp"});
}

TEST(ShpFile, WriteIntoMissingFolderFails) {
  test::TempDir dir;
  try {
    WriteShpFile(dir.file("none/a.shp"), Filled(2, 2, 1));
    FAIL() << "no error";
  } catch (const IoError& error) {
    EXPECT_STREQ(error.what(), "Invalid filename");
  }
}

}  // namespace
}  // namespace kxc2
