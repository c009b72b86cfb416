#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kxc2 {

// Packet codes of an encoded row: odd codes open a literal of (c - 1) / 2
// pixels, even codes a run of c / 2 equal pixels, 0 closes the row.
inline constexpr std::uint8_t kShpEndOfRow = 0;
inline constexpr std::size_t kShpMaxPacketPixels = 127;

// The most bytes a row of width pixels can take, its closing 0 included.
constexpr std::size_t ShpRowBound(std::size_t width) { return (4 * width + 2) / 3 + 1; }

// Encodes one row into out, which must hold ShpRowBound(row.size()) bytes;
// returns the number of bytes written.
std::size_t EncodeShpRow(std::span<const std::uint8_t> row, std::uint8_t* out);

// Encodes rows one after another into a buffer that grows to fit the widest
// row, so any width works.
class ShpRowEncoder {
 public:
  // The encoded row; valid until the next call.
  std::span<const std::uint8_t> encode(std::span<const std::uint8_t> row);

 private:
  std::vector<std::uint8_t> buffer_;
};

}  // namespace kxc2
