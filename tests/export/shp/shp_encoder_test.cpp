#include <gtest/gtest.h>

#include <random>

#include "export/shp_decoder.h"
#include "export/shp_encoder.h"
#include "export/shp_file.h"

namespace kxc2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const Bytes& row) {
  Bytes out(ShpRowBound(row.size()) + 16, 0xEE);
  out.resize(EncodeShpRow(row, out.data()));
  return out;
}

Bytes Repeat(std::size_t count, std::uint8_t value) { return Bytes(count, value); }

Bytes Ascending(std::size_t count) {
  Bytes row(count);
  for (std::size_t i = 0; i < count; ++i) row[i] = static_cast<std::uint8_t>(i);
  return row;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct RowCase {
  const char* name;
  Bytes row;
  Bytes encoded;
};

class WorkedExamples : public ::testing::TestWithParam<RowCase> {};

TEST_P(WorkedExamples, EncodeExactly) { EXPECT_EQ(Encode(GetParam().row), GetParam().encoded); }

INSTANTIATE_TEST_SUITE_P(
    Rows, WorkedExamples,
    ::testing::Values(
        RowCase{"Mixed", {7, 7, 7, 2, 5, 9, 9, 4, 1, 1},
                {0x06, 0x07, 0x05, 0x02, 0x05, 0x04, 0x09, 0x03, 0x04, 0x04, 0x01, 0x00}},
        RowCase{"One", {12}, {0x03, 0x0C, 0x00}}, RowCase{"TwoEqual", {12, 12}, {0x04, 0x0C, 0x00}},
        RowCase{"RunThenLast", {12, 12, 13}, {0x04, 0x0C, 0x03, 0x0D, 0x00}},
        RowCase{"LiteralTakesLast", {3, 4, 5}, {0x07, 0x03, 0x04, 0x05, 0x00}},
        RowCase{"LiteralStopsBeforePair", {3, 4, 5, 5}, {0x05, 0x03, 0x04, 0x04, 0x05, 0x00}},
        RowCase{"Run300", Repeat(300, 6), {0xFE, 0x06, 0xFE, 0x06, 0x5C, 0x06, 0x00}},
        RowCase{"Ascending128", Ascending(128),
                Concat({{0xFF}, Ascending(127), {0x03, 0x7F, 0x00}})},
        RowCase{"Run127", Repeat(127, 9), {0xFE, 0x09, 0x00}},
        RowCase{"Run128", Repeat(128, 9), {0xFE, 0x09, 0x03, 0x09, 0x00}},
        RowCase{"Run129", Repeat(129, 9), {0xFE, 0x09, 0x04, 0x09, 0x00}},
        RowCase{"Literal127", Ascending(127), Concat({{0xFF}, Ascending(127), {0x00}})},
        RowCase{"Ascending129", Ascending(129), Concat({{0xFF}, Ascending(127), {0x05, 0x7F, 0x80, 0x00}})},
        RowCase{"Empty", {}, {0x00}},
        RowCase{"PairAfterSingle", {1, 2, 2, 1}, {0x03, 0x01, 0x04, 0x02, 0x03, 0x01, 0x00}},
        RowCase{"Alternating", {1, 2, 1, 2}, {0x09, 0x01, 0x02, 0x01, 0x02, 0x00}},
        RowCase{"ZeroPixels", {0, 0, 0}, {0x06, 0x00, 0x00}},
        RowCase{"Byte255", {255, 254}, {0x05, 0xFF, 0xFE, 0x00}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShpRowBound, FollowsTheFormula) {
  EXPECT_EQ(ShpRowBound(0), 1u);
  EXPECT_EQ(ShpRowBound(1), 3u);
  EXPECT_EQ(ShpRowBound(3), 5u);
  EXPECT_EQ(ShpRowBound(640), 855u);
  EXPECT_EQ(ShpRowBound(1535), 2048u);
}

// The three rules written out as plainly as possible, to hold the fast
// encoder to them on arbitrary rows.
Bytes ReferenceEncode(const Bytes& p) {
  Bytes out;
  const std::size_t w = p.size();
  std::size_t x = 0;
  while (x < w) {
    if (x == w - 1) {
      out.insert(out.end(), {3, p[x]});
      x = w;
    } else if (p[x] == p[x + 1]) {
      std::size_t n = 0;
      while (x + n < w && p[x + n] == p[x] && n < 127) ++n;
      out.insert(out.end(), {static_cast<std::uint8_t>(2 * n), p[x]});
      x += n;
    } else {
      Bytes literal{p[x++]};
      while (literal.size() < 127 && x < w && (x == w - 1 || p[x] != p[x + 1])) literal.push_back(p[x++]);
      out.push_back(static_cast<std::uint8_t>(2 * literal.size() + 1));
      out.insert(out.end(), literal.begin(), literal.end());
    }
  }
  out.push_back(0);
  return out;
}

Bytes DecodeSingleRow(const Bytes& row) {
  IndexedBitmap image;
  image.width = row.size();
  image.height = 1;
  image.pixels = row;
  return DecodeShpFile(EncodeShpFile(image)).pixels;
}

TEST(ShpRowEncoder, RandomRowsDecodeBackWithinTheBound) {
  std::mt19937 random(20261207);
  ShpRowEncoder encoder;
  for (int i = 0; i < 3000; ++i) {
    const std::size_t width = 1 + random() % (i < 2500 ? 400 : 5000);
    const unsigned colours = 1 + random() % 6;  // few colours give runs and pairs
    Bytes row(width);
    for (auto& pixel : row) pixel = static_cast<std::uint8_t>(random() % colours * 37);
    const auto encoded = encoder.encode(row);
    const Bytes bytes(encoded.begin(), encoded.end());
    ASSERT_LE(bytes.size(), ShpRowBound(width)) << "width " << width;
    ASSERT_EQ(bytes, ReferenceEncode(row)) << "width " << width;
    if (i % 10 == 0) {
      ASSERT_EQ(DecodeSingleRow(row), row) << "width " << width;
    }
  }
}

TEST(ShpRowEncoder, EveryShortRowOfThreeValues) {
  for (std::size_t width = 1; width <= 9; ++width) {
    std::size_t combinations = 1;
    for (std::size_t i = 0; i < width; ++i) combinations *= 3;
    for (std::size_t code = 0; code < combinations; ++code) {
      Bytes row(width);
      for (std::size_t i = 0, c = code; i < width; ++i, c /= 3) row[i] = static_cast<std::uint8_t>(c % 3);
      const Bytes bytes = Encode(row);
      ASSERT_LE(bytes.size(), ShpRowBound(width));
      ASSERT_EQ(bytes, ReferenceEncode(row));
    }
  }
}

TEST(ShpRowEncoder, WorstCaseMeetsTheBoundExactly) {
  // A single pixel then a pair, over and over: 4 bytes for every 3 pixels.
  for (std::size_t width : {3u, 300u, 1535u, 3000u, 3001u, 3002u}) {
    Bytes row(width);
    for (std::size_t i = 0; i < width; ++i) row[i] = static_cast<std::uint8_t>((i % 3 == 0) ? 1 : 2 + i / 3 % 2);
    EXPECT_EQ(Encode(row).size(), ShpRowBound(width)) << width;
  }
}

TEST(ShpRowEncoder, BufferGrowsForWideRows) {
  ShpRowEncoder encoder;
  EXPECT_EQ(encoder.encode(Bytes{5}).size(), 3u);
  Bytes wide(2000);
  for (std::size_t i = 0; i < wide.size(); ++i) wide[i] = static_cast<std::uint8_t>(i * 7 % 251);
  const auto encoded = encoder.encode(wide);
  EXPECT_EQ(Bytes(encoded.begin(), encoded.end()), ReferenceEncode(wide));
  EXPECT_EQ(DecodeSingleRow(wide), wide);
}

}  // namespace
}  // namespace kxc2
