#include "tests/export/shp/bmp_bytes.h"

namespace kxc2::test {

namespace {

void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::size_t Stride(int width, int bits) { return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4; }

std::vector<std::uint8_t> Headers(int width, int height, int bits, std::size_t colours, std::size_t dataSize) {
  const std::size_t offBits = 14 + 40 + 4 * colours;
  std::vector<std::uint8_t> out(offBits, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put(out, 2, static_cast<std::uint32_t>(offBits + dataSize), 4);
  Put(out, 10, static_cast<std::uint32_t>(offBits), 4);
  Put(out, 14, 40, 4);
  Put(out, 18, static_cast<std::uint32_t>(width), 4);
  Put(out, 22, static_cast<std::uint32_t>(height), 4);
  Put(out, 26, 1, 2);
  Put(out, 28, static_cast<std::uint32_t>(bits), 2);
  Put(out, 34, static_cast<std::uint32_t>(dataSize), 4);
  Put(out, 46, static_cast<std::uint32_t>(colours), 4);
  return out;
}

}  // namespace

std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout) {
  const std::size_t stride = Stride(layout.width, layout.bitsPerPixel);
  std::vector<std::uint8_t> out = Headers(layout.width, layout.topDown ? -layout.height : layout.height,
                                          layout.bitsPerPixel, layout.palette.size(), stride * layout.height);
  for (std::size_t i = 0; i < layout.palette.size(); ++i) {
    const PaletteColour& c = layout.palette[i];
    const std::size_t at = 54 + 4 * i;
    out[at] = c.blue;
    out[at + 1] = c.green;
    out[at + 2] = c.red;
  }
  const int perByte = 8 / layout.bitsPerPixel;
  for (int fileRow = 0; fileRow < layout.height; ++fileRow) {
    const int y = layout.topDown ? fileRow : layout.height - 1 - fileRow;
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < layout.width; ++x) {
      const std::uint8_t index = layout.indices[static_cast<std::size_t>(y) * layout.width + x];
      const int shift = 8 - layout.bitsPerPixel * (x % perByte + 1);
      row[x / perByte] |= static_cast<std::uint8_t>(index << shift);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

std::vector<std::uint8_t> MakeBmp24(int width, int height) {
  const std::size_t stride = Stride(width, 24);
  std::vector<std::uint8_t> out = Headers(width, height, 24, 0, stride * height);
  out.resize(out.size() + stride * height, 0x40);
  return out;
}

}  // namespace kxc2::test
