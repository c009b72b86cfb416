#include "export/shp_encoder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kxc2 {

namespace {

constexpr std::size_t kLocalMaskWords = 32;  // rows up to 2048 pixels need no allocation

// Bit i of the mask is set when pixel i equals pixel i + 1. Built once per
// row, 64 pixels a step, so each packet is found with a bit scan instead of
// a branch per pixel.
void BuildPairMask(const std::uint8_t* row, std::size_t width, std::uint64_t* words) {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 65 <= width; i += 64) {
    std::uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
      const auto* at = row + i + 16 * part;
      const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
      const auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next)));
      mask |= static_cast<std::uint64_t>(bits) << (16 * part);
    }
    words[i / 64] = mask;
  }
#endif
  for (; i < width; i += 64) {
    std::uint64_t mask = 0;
    const std::size_t last = std::min(width - 1, i + 64);
    for (std::size_t k = i; k < last; ++k) mask |= static_cast<std::uint64_t>(row[k] == row[k + 1]) << (k - i);
    words[i / 64] = mask;
  }
}

class PairMask {
 public:
  PairMask(const std::uint8_t* row, std::size_t width) {
    const std::size_t count = width / 64 + 2;  // a zero word past the end
    if (count > kLocalMaskWords) {
      heap_.assign(count, 0);
      words_ = heap_.data();
    } else {
      std::fill_n(local_, count, 0);
    }
    BuildPairMask(row, width, words_);
  }
  PairMask(const PairMask&) = delete;
  PairMask& operator=(const PairMask&) = delete;

  // 64 bits of the mask starting at bit i.
  std::uint64_t from(std::size_t i) const {
    const std::size_t word = i / 64;
    const unsigned shift = i % 64;
    if (shift == 0) return words_[word];
    return words_[word] >> shift | words_[word + 1] << (64 - shift);
  }

  // The number of equal pairs in a row from pixel i: run length - 1.
  std::size_t onesFrom(std::size_t i, std::size_t limit) const {
    std::size_t start = i;
    for (;;) {
      const int ones = std::countr_one(from(i));
      i += static_cast<std::size_t>(ones);
      if (ones < 64 || i >= limit) return i - start;
    }
  }

  // The first pair at or after pixel i, or something at least limit.
  std::size_t nextPair(std::size_t i, std::size_t limit) const {
    for (;;) {
      const std::uint64_t bits = from(i);
      if (bits != 0) return i + static_cast<std::size_t>(std::countr_zero(bits));
      i += 64;
      if (i >= limit) return i;
    }
  }

 private:
  std::uint64_t local_[kLocalMaskWords];
  std::vector<std::uint64_t> heap_;
  std::uint64_t* words_ = local_;
};

}  // namespace

std::size_t EncodeShpRow(std::span<const std::uint8_t> row, std::uint8_t* out) {
  const std::uint8_t* p = row.data();
  const std::size_t width = row.size();
  const PairMask pairs(p, width);
  std::uint8_t* o = out;
  std::size_t x = 0;
  while (x < width) {
    const std::size_t end = std::min(width, x + kShpMaxPacketPixels);
    if (x == width - 1) {
      *o++ = 3;
      *o++ = p[x];
      x = width;
    } else if (p[x] == p[x + 1]) {
      const std::size_t n = std::min(pairs.onesFrom(x, end) + 1, end - x);
      *o++ = static_cast<std::uint8_t>(2 * n);
      *o++ = p[x];
      x += n;
    } else {
      // A literal stops in front of two equal pixels; one reaching the last
      // pixel takes it, as the mask has no pair there.
      const std::size_t n = std::min(pairs.nextPair(x + 1, end), end) - x;
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
