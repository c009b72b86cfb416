#include <gtest/gtest.h>

#include <functional>

#include "export/shp_decoder.h"
#include "export/shp_file.h"

namespace kxc2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 4 x 2 pixels: rows "05 01 02 04 03 00" and "08 07 00", P = 49.
Bytes ValidFile() {
  IndexedBitmap image;
  image.width = 4;
  image.height = 2;
  image.pixels = {1, 2, 3, 3, 7, 7, 7, 7};
  image.palette[7] = {40, 80, 252};
  return EncodeShpFile(image);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Both copies of the sides in the image header, stored less one.
void SetSides(Bytes& bytes, std::uint32_t width, std::uint32_t height) {
  for (const std::size_t at : {16u, 36u}) {
    bytes[at] = static_cast<std::uint8_t>(height - 1);
    bytes[at + 1] = static_cast<std::uint8_t>((height - 1) >> 8);
  }
  for (const std::size_t at : {18u, 32u}) {
    bytes[at] = static_cast<std::uint8_t>(width - 1);
    bytes[at + 1] = static_cast<std::uint8_t>((width - 1) >> 8);
  }
}

struct Damage {
  const char* name;
  std::function<void(Bytes&)> apply;
  const char* message;  // expected part of the error
};

class MalformedShp : public ::testing::TestWithParam<Damage> {};

TEST_P(MalformedShp, IsRefusedWithItsReason) {
  Bytes file = ValidFile();
  ASSERT_EQ(file.size(), 49u + 1024u);
  GetParam().apply(file);
  try {
    DecodeShpFile(file);
    FAIL() << "accepted";
  } catch (const ShpFormatError& error) {
    EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedShp,
    ::testing::Values(
        Damage{"Empty", [](Bytes& b) { b.clear(); }, "the file header (16 bytes at offset 0) lies outside"},
        Damage{"ShortHeader", [](Bytes& b) { b.resize(15); }, "file header"},
        Damage{"Tag", [](Bytes& b) { b[3] = '1'; }, "does not start with \"1.10\""},
        Damage{"TwoImages", [](Bytes& b) { b[4] = 2; }, "holds 2 images"},
        Damage{"ImageOffsetOutside", [](Bytes& b) { PutU32(b, 8, 0xFFFFFFF0u); }, "the image header"},
        Damage{"ImageHeaderCut", [](Bytes& b) { b.resize(30); }, "the image header (24 bytes at offset 16)"},
        Damage{"SizesDisagree", [](Bytes& b) { b[32] = 9; }, "gives two different sizes"},
        Damage{"PaletteOffsetPastEnd", [](Bytes& b) { PutU32(b, 12, 5000); }, "the palette offset 5000"},
        Damage{"PaletteOffsetInHeader", [](Bytes& b) { PutU32(b, 12, 20); }, "the palette offset 20"},
        Damage{"PaletteOffsetEarly", [](Bytes& b) { PutU32(b, 12, 45); }, "the palette claims 460800 entries"},
        Damage{"PaletteCountHuge", [](Bytes& b) { PutU32(b, 49, 0x7FFFFFFF); }, "claims 2147483647 entries"},
        Damage{"PaletteCut", [](Bytes& b) { b.pop_back(); }, "the palette entries (1020 bytes at offset 53)"},
        Damage{"TrailingBytes", [](Bytes& b) { b.push_back(0); }, "1 unexpected bytes follow the palette"},
        Damage{"ComponentAbove63", [](Bytes& b) { b[53 + 4 * 6 + 2] = 64; }, "component above 63"},
        Damage{"CodeOne", [](Bytes& b) { b[40] = 1; }, "row 0 has the invalid packet code 1 at offset 40"},
        Damage{"CodeTwo", [](Bytes& b) { b[46] = 2; }, "row 1 has the invalid packet code 2 at offset 46"},
        Damage{"RunTooLong", [](Bytes& b) { b[46] = 10; }, "row 1 holds more than 4 pixels at offset 46"},
        Damage{"LiteralTooLong", [](Bytes& b) { b[40] = 11; }, "row 0 holds more than 4 pixels"},
        Damage{"RowEndsEarly", [](Bytes& b) { b[46] = 6; }, "row 1 ends after 3 of 4 pixels"},
        Damage{"RowWithoutEnd", [](Bytes& b) { b[48] = 4; }, "row 1 holds more than 4 pixels"},
        Damage{"WiderThanData", [](Bytes& b) { b[18] = b[32] = 200; }, "too short for 201 x 2 pixels"},
        Damage{"HugeImageTinyFile",
               [](Bytes& b) { b[16] = b[17] = b[18] = b[19] = b[32] = b[33] = b[36] = b[37] = 0xFF; },
               "image of 65536 x 65536 pixels is too large"},
        // 256 MB of pixels is the most a file may ask for.
        Damage{"SquareAtThePixelLimit", [](Bytes& b) { SetSides(b, 16384, 16384); }, "too short for 16384 x 16384 pixels"},
        Damage{"OneRowOverThePixelLimit", [](Bytes& b) { SetSides(b, 16384, 16385); },
               "image of 16384 x 16385 pixels is too large"},
        Damage{"WideAtThePixelLimit", [](Bytes& b) { SetSides(b, 65536, 4096); }, "too short for 65536 x 4096 pixels"},
        Damage{"WideOverThePixelLimit", [](Bytes& b) { SetSides(b, 65536, 4097); },
               "image of 65536 x 4097 pixels is too large"},
        Damage{"RowsCrossPalette", [](Bytes& b) { PutU32(b, 12, 48); b.erase(b.begin() + 48); },
               "row 1 runs past the end of the row data at offset 48"},
        Damage{"PacketCutByPalette", [](Bytes& b) { b[46] = 9; },
               "row 1 has a packet cut off by the end of the row data at offset 46"},
        Damage{"GapBeforePalette", [](Bytes& b) { PutU32(b, 12, 50); b.insert(b.begin() + 49, 0); },
               "the rows end at offset 49 but the palette starts at offset 50"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShpDecoder, ReadsAValidFile) {
  const IndexedBitmap image = DecodeShpFile(ValidFile());
  EXPECT_EQ(image.width, 4u);
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 3, 7, 7, 7, 7}));
  EXPECT_EQ(image.palette[7], (PaletteColour{40, 80, 252}));
  EXPECT_EQ(image.palette[0], (PaletteColour{0, 0, 0}));
}

TEST(ShpDecoder, AcceptsAShortPaletteAndAnImageHeaderElsewhere) {
  Bytes file = ValidFile();
  file.resize(49 + 8);
  PutU32(file, 49, 1);
  file[53] = 0;  // an entry for index 0
  file[54] = 63;
  const IndexedBitmap image = DecodeShpFile(file);
  EXPECT_EQ(image.palette[0], (PaletteColour{252, 0, 0}));
  EXPECT_EQ(image.palette[7], (PaletteColour{0, 0, 0}));
}

}  // namespace
}  // namespace kxc2
