// Writes the seed corpora of the map, settings and tile-set fuzzers into
// FOLDER/<fuzzer>/, made by the kit's own writers where it has them:
//   fuzz_make_seeds fuzz/seeds
#include <QImage>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/map_file.h"
#include "editing/ini_file.h"
#include "export/bmp_writer.h"
#include "export/tile_set.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

void Save(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void Save(const fs::path& path, const std::string& text) { Save(path, Bytes(text.begin(), text.end())); }

// ---- maps

kxc2::MapDocument BusyDocument() {
  kxc2::MapDocument document;
  document.header = {45, 20, 15};
  for (int column = 0; column < kxc2::kGridColumns; ++column)
    for (int row = 0; row < kxc2::kGridRows; ++row)
      document.grid.setRecord(column, row,
                              {static_cast<std::uint8_t>((column + 2 * row) % 17), static_cast<std::uint8_t>(row),
                               static_cast<std::uint8_t>(column * 37 + row), 0, 0xA5, 0, static_cast<std::uint8_t>(column)});
  return document;
}

void MapSeeds(const fs::path& folder) {
  kxc2::MapDocument empty;
  empty.header = {32, 44, 39};
  const auto fresh = kxc2::EncodeMapFile(empty);
  Save(folder / "new44x39.map", Bytes(fresh.begin(), fresh.end()));
  const auto busy = kxc2::EncodeMapFile(BusyDocument());
  Save(folder / "busy20x15.map", Bytes(busy.begin(), busy.end()));
  Save(folder / "header_and_grid_only.map", Bytes(busy.begin(), busy.begin() + kxc2::kMapReadSize));
  Save(folder / "cut_short.map", Bytes(busy.begin(), busy.begin() + 64));
}

// ---- settings files

void SettingsSeeds(const fs::path& folder) {
  const struct {
    const char* name;
    std::string text;
  } files[] = {
      {"plain.ini", "[Locations]\r\nKC2=D:\\Games\\K2\\\r\n"},
      {"lf_bom.ini", "\xEF\xBB\xBF[Locations]\nKC2=/games/k2/\n"},
      {"quoted_blanks.ini", "  [ locations ]  \r\n  kc2 =  \"D:\\My Games\\K2\\\"  \r\n"},
      {"comments_sections.ini",
       "; settings\r\n[Other]\r\nKC2=wrong\r\n\r\n[Locations]\r\n;KC2=old\r\nX=1\r\nKC2=C:\\K2\\\r\nKC2=second\r\n"},
      {"key_before_section.ini", "KC2=x\r\n[Locations\r\n=\r\n[]\r\nKC2\r\n"},
      {"no_final_line_end.ini", "[Locations]\r\nKC2=a=b;c,d"},
  };
  for (const auto& file : files) Save(folder / file.name, file.text);
  kxc2::IniFile written = kxc2::IniFile::Parse("[Other]\r\nA=1\r\n\r\n");
  written.writeString("Locations", "KC2", "D:\\Games\\K2\\");
  Save(folder / "written.ini", written.text());
}

// ---- bitmaps

void Put16(Bytes& bytes, std::uint32_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& bytes, std::uint32_t value) {
  Put16(bytes, value & 0xFFFF);
  Put16(bytes, value >> 16);
}

struct BmpShape {
  int width = 45;
  int height = 50;
  int bits = 8;
  bool topDown = false;
  bool os2 = false;   // the 12-byte header with 3-byte colours
  bool rle8 = false;  // run-length rows of at most 255 pixels
};

using PixelAt = std::function<std::uint8_t(int x, int y)>;

Bytes PixelRows(const BmpShape& shape, const PixelAt& pixel) {
  Bytes data;
  for (int i = 0; i < shape.height; ++i) {
    const int y = shape.topDown ? i : shape.height - 1 - i;
    if (shape.rle8) {
      for (int x = 0; x < shape.width;) {
        int run = 1;
        while (x + run < shape.width && run < 255 && pixel(x + run, y) == pixel(x, y)) ++run;
        data.push_back(static_cast<std::uint8_t>(run));
        data.push_back(pixel(x, y));
        x += run;
      }
      data.push_back(0);
      data.push_back(0);
      continue;
    }
    Bytes row((static_cast<std::size_t>(shape.width) * shape.bits + 31) / 32 * 4, 0);
    for (int x = 0; x < shape.width; ++x) {
      const int bit = x * shape.bits;
      row[bit / 8] |= static_cast<std::uint8_t>(pixel(x, y) << (8 - shape.bits - bit % 8));
    }
    data.insert(data.end(), row.begin(), row.end());
  }
  if (shape.rle8) {
    data.push_back(0);
    data.push_back(1);
  }
  return data;
}

Bytes BmpFile(const BmpShape& shape, const std::vector<QRgb>& palette, const PixelAt& pixel) {
  const Bytes pixels = PixelRows(shape, pixel);
  const std::uint32_t infoSize = shape.os2 ? 12 : 40;
  const std::uint32_t paletteSize = static_cast<std::uint32_t>(palette.size()) * (shape.os2 ? 3 : 4);
  const std::uint32_t pixelOffset = 14 + infoSize + paletteSize;
  Bytes bytes{'B', 'M'};
  Put32(bytes, pixelOffset + static_cast<std::uint32_t>(pixels.size()));
  Put32(bytes, 0);
  Put32(bytes, pixelOffset);
  Put32(bytes, infoSize);
  const int height = shape.topDown ? -shape.height : shape.height;
  if (shape.os2) {
    Put16(bytes, static_cast<std::uint32_t>(shape.width));
    Put16(bytes, static_cast<std::uint32_t>(height));
    Put16(bytes, 1);
    Put16(bytes, static_cast<std::uint32_t>(shape.bits));
  } else {
    Put32(bytes, static_cast<std::uint32_t>(shape.width));
    Put32(bytes, static_cast<std::uint32_t>(height));
    Put16(bytes, 1);
    Put16(bytes, static_cast<std::uint32_t>(shape.bits));
    Put32(bytes, shape.rle8 ? 1 : 0);
    Put32(bytes, static_cast<std::uint32_t>(pixels.size()));
    Put32(bytes, 2835);
    Put32(bytes, 2835);
    Put32(bytes, static_cast<std::uint32_t>(palette.size()));
    Put32(bytes, 0);
  }
  for (QRgb colour : palette) {
    bytes.push_back(static_cast<std::uint8_t>(qBlue(colour)));
    bytes.push_back(static_cast<std::uint8_t>(qGreen(colour)));
    bytes.push_back(static_cast<std::uint8_t>(qRed(colour)));
    if (!shape.os2) bytes.push_back(0);
  }
  bytes.insert(bytes.end(), pixels.begin(), pixels.end());
  return bytes;
}

std::vector<QRgb> Ramp(int count) {
  std::vector<QRgb> palette;
  for (int i = 0; i < count; ++i) palette.push_back(qRgb(255 * i / count, 40 + i % 7 * 20, 255 - 255 * i / count));
  return palette;
}

// The built-in set's first terrains, so the seeds carry real tile pictures.
kxc2::Image BuiltinCrop(bool winter, int width, int height) {
  const kxc2::Image builtin = kxc2::BuiltinTileSet(winter).image();
  kxc2::Image crop(width, height, kxc2::Image::Format_Indexed8);
  crop.setColorTable(builtin.colorTable());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) crop.setPixel(x, y, builtin.pixelIndex(x % builtin.width(), y % builtin.height()));
  return crop;
}

void TileSetSeeds(const fs::path& folder) {
  Save(folder / "summer_two_terrains.bmp", kxc2::EncodeBmp8(BuiltinCrop(false, 90, 50)));
  Save(folder / "winter_two_variants.bmp", kxc2::EncodeBmp8(BuiltinCrop(true, 45, 100)));
  const PixelAt stripes = [](int x, int y) { return static_cast<std::uint8_t>((x / 5 + y / 7) % 16); };
  Save(folder / "four_bit.bmp", BmpFile({90, 50, 4}, Ramp(16), stripes));
  Save(folder / "one_bit.bmp", BmpFile({45, 50, 1}, Ramp(2), [](int x, int y) {
         return static_cast<std::uint8_t>((x + y) / 4 % 2);
       }));
  Save(folder / "rle8.bmp", BmpFile({.width = 45, .height = 50, .rle8 = true}, Ramp(32), [](int x, int y) {
         return static_cast<std::uint8_t>(x / 9 + y / 10 * 5);
       }));
  Save(folder / "top_down8.bmp", BmpFile({.width = 46, .height = 51, .topDown = true}, Ramp(24), [](int x, int y) {
         return static_cast<std::uint8_t>((x * y) % 24);
       }));
  Save(folder / "os2_header8.bmp", BmpFile({.width = 45, .height = 50, .os2 = true}, Ramp(20), [](int x, int y) {
         return static_cast<std::uint8_t>((x + 3 * y) % 20);
       }));
  Save(folder / "below_one_tile.bmp", BmpFile({.width = 60, .height = 48}, Ramp(8), [](int x, int y) {
         return static_cast<std::uint8_t>((x ^ y) % 8);
       }));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path seeds = argv[1];
  MapSeeds(seeds / "fuzz_map_reader");
  SettingsSeeds(seeds / "fuzz_settings_reader");
  TileSetSeeds(seeds / "fuzz_tileset_paint");
  return 0;
}
