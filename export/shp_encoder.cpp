#include "export/shp_encoder.h"

#include <algorithm>
#include <cstring>

namespace kxc2 {

namespace {

// Length of the run of pixels equal to row[x], capped at one packet.
std::size_t RunLength(const std::uint8_t* row, std::size_t x, std::size_t width) {
  const std::size_t end = std::min(width, x + kShpMaxPacketPixels);
  const std::uint8_t value = row[x];
  std::size_t i = x + 1;
  while (i < end && row[i] == value) ++i;
  return i - x;
}

// Length of the literal from x: it stops in front of two equal pixels, but a
// literal reaching the last pixel takes it.
std::size_t LiteralLength(const std::uint8_t* row, std::size_t x, std::size_t width) {
  const std::size_t end = std::min(width, x + kShpMaxPacketPixels);
  std::size_t i = x + 1;
  while (i < end && (i == width - 1 || row[i] != row[i + 1])) ++i;
  return i - x;
}

}  // namespace

std::size_t EncodeShpRow(std::span<const std::uint8_t> row, std::uint8_t* out) {
  const std::uint8_t* p = row.data();
  const std::size_t width = row.size();
  std::uint8_t* o = out;
  std::size_t x = 0;
  while (x < width) {
    if (x == width - 1) {
      *o++ = 3;
      *o++ = p[x];
      x = width;
    } else if (p[x] == p[x + 1]) {
      const std::size_t n = RunLength(p, x, width);
      *o++ = static_cast<std::uint8_t>(2 * n);
      *o++ = p[x];
      x += n;
    } else {
      const std::size_t n = LiteralLength(p, x, width);
      *o++ = static_cast<std::uint8_t>(2 * n + 1);
      std::memcpy(o, p + x, n);
      o += n;
      x += n;
    }
  }
  *o++ = kShpEndOfRow;
  return static_cast<std::size_t>(o - out);
}

std::span<const std::uint8_t> ShpRowEncoder::encode(std::span<const std::uint8_t> row) {
  const std::size_t bound = ShpRowBound(row.size());
  if (buffer_.size() < bound) buffer_.resize(bound);
  return {buffer_.data(), EncodeShpRow(row, buffer_.data())};
}

}  // namespace kxc2
