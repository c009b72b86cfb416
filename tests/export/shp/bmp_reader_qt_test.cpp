// The kit's bitmap reader shows every kind of file with the colours the
// toolkit's reader, which it replaced, shows.
#include <QImage>
#include <gtest/gtest.h>

#include <string>

#include "export/bmp_reader.h"
#include "tests/export/shp/bmp_bytes.h"

namespace kxc2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<PaletteColour> Colours(int count) {
  std::vector<PaletteColour> palette;
  for (int i = 0; i < count; ++i)
    palette.push_back({static_cast<std::uint8_t>(5 * i), static_cast<std::uint8_t>(200 - i), static_cast<std::uint8_t>(i * 3)});
  return palette;
}

Bytes Indices(int count, int modulo) {
  Bytes indices(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) indices[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i * 7 + i / 5) % modulo);
  return indices;
}

// A bitmap whose pixel data is replaced by run-length data.
Bytes RunLength(int width, int height, int bits, const Bytes& runs) {
  Bytes file = test::MakeBmp({width, height, bits, false, Colours(1 << bits), Bytes(static_cast<std::size_t>(width * height), 0)});
  const std::uint32_t offset = file[10] | file[11] << 8;
  file.resize(offset);
  file.insert(file.end(), runs.begin(), runs.end());
  file[30] = bits == 8 ? 1 : 2;
  const auto size = static_cast<std::uint32_t>(runs.size());
  for (int i = 0; i < 4; ++i) file[static_cast<std::size_t>(34 + i)] = static_cast<std::uint8_t>(size >> (8 * i));
  return file;
}

struct QtCase {
  std::string name;
  Bytes file;
};

TEST(BmpReaderAgainstQt, SameColoursAsTheToolkitShows) {
  const QtCase cases[] = {
      {"8 bits", test::MakeBmp({7, 5, 8, false, Colours(200), Indices(35, 200)})},
      {"8 bits top-down", test::MakeBmp({7, 5, 8, true, Colours(256), Indices(35, 256)})},
      {"4 bits odd width", test::MakeBmp({9, 4, 4, false, Colours(16), Indices(36, 16)})},
      {"4 bits short table", test::MakeBmp({8, 3, 4, false, Colours(5), Indices(24, 5)})},
      {"1 bit dark first", test::MakeBmp({37, 3, 1, false, {{0, 0, 0}, {250, 250, 250}}, Indices(111, 2)})},
      {"1 bit light first", test::MakeBmp({37, 3, 1, true, {{250, 250, 250}, {0, 0, 0}}, Indices(111, 2)})},
      {"rle8 runs, literal, end of line", RunLength(6, 3, 8, {3, 5, 0, 3, 1, 2, 3, 0, 0, 0, 6, 9, 0, 0, 6, 4, 0, 1})},
      {"rle4 runs and literal", RunLength(7, 3, 4, {7, 0x12, 0, 0, 0, 7, 0x34, 0x56, 0x71, 0x20, 0, 0, 0, 5, 0x9A, 0xBC, 0xD0, 0, 2, 0xEF, 0, 1})},
  };
  for (const QtCase& c : cases) {
    const QImage qt = QImage::fromData(c.file.data(), static_cast<int>(c.file.size()), "BMP");
    ASSERT_FALSE(qt.isNull()) << c.name;
    const Image own = ReadIndexedBmp(c.file, "N.bmp");
    ASSERT_EQ(own.width(), qt.width()) << c.name;
    ASSERT_EQ(own.height(), qt.height()) << c.name;
    for (int y = 0; y < qt.height(); ++y)
      for (int x = 0; x < qt.width(); ++x)
        ASSERT_EQ(own.pixel(x, y), qt.pixel(x, y)) << c.name << " at " << x << "," << y;
  }
}

// The toolkit left the pixels a delta skips as whatever memory held; they
// read as index 0 now.
TEST(BmpReaderAgainstQt, PixelsADeltaSkipsAreIndexZero) {
  const Image image = ReadIndexedBmp(RunLength(6, 3, 8, {3, 5, 0, 2, 2, 1, 2, 9, 0, 1}), "N.bmp");
  EXPECT_EQ(image.pixelIndex(0, 2), 5);
  EXPECT_EQ(image.pixelIndex(3, 2), 0);
  EXPECT_EQ(image.pixelIndex(0, 1), 0);
  EXPECT_EQ(image.pixelIndex(2, 1), 0);
  EXPECT_EQ(image.pixelIndex(5, 1), 9);
  EXPECT_EQ(image.pixelIndex(0, 0), 0);
}

}  // namespace
}  // namespace kxc2
