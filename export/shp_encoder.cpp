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
// row, 64 pixels a step, into words that start zeroed.
void BuildPairMask(const std::uint8_t* row, std::size_t width, std::uint64_t* words) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const auto pairs16 = [row](std::size_t at) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at + 1));
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next))));
  };
  for (; i + 65 <= width; i += 64)
    words[i / 64] = pairs16(i) | pairs16(i + 16) << 16 | pairs16(i + 32) << 32 | pairs16(i + 48) << 48;
  // The rest 16 pixels a step as far as they go: in a narrow piece it is as
  // long as the bulk.
  for (; i + 17 <= width; i += 16) words[i / 64] |= pairs16(i) << (i % 64);
#endif
  for (; i + 1 < width; ++i) words[i / 64] |= static_cast<std::uint64_t>(row[i] == row[i + 1]) << (i % 64);
}

// Bit i of the start mask is set where a packet would start if no packet
// were ever cut at 127 pixels: at pixel 0, where a run begins (a pair not
// preceded by one), two pixels after a run's last pair, and at the row's end
// (bit width). A packet from such a start ends at the next one, so most
// packets take a bit scan and no branch on the pixels.
void BuildStartMask(const std::uint64_t* pairs, std::size_t width, std::uint64_t* starts) {
  std::uint64_t before = 0;
  for (std::size_t k = 0; k <= width / 64; ++k) {
    const std::uint64_t here = pairs[k];
    const std::uint64_t previous = here << 1 | before >> 63;
    const std::uint64_t twoBack = here << 2 | before >> 62;
    starts[k] = ~previous & (here | twoBack);
    before = here;
  }
  starts[0] |= 1;
  starts[width / 64] |= std::uint64_t{1} << (width % 64);
}

class RowMasks {
 public:
  RowMasks(const std::uint8_t* row, std::size_t width) {
    const std::size_t count = width / 64 + 2;  // a zero word past the end
    if (count > kLocalMaskWords) {
      heap_.assign(2 * count, 0);
      pairs_ = heap_.data();
      starts_ = pairs_ + count;
    } else {
      std::fill_n(local_, 2 * count, 0);
      starts_ = local_ + count;
    }
    BuildPairMask(row, width, pairs_);
    BuildStartMask(pairs_, width, starts_);
  }
  RowMasks(const RowMasks&) = delete;
  RowMasks& operator=(const RowMasks&) = delete;

  bool pair(std::size_t i) const { return pairs_[i / 64] >> (i % 64) & 1; }
  bool start(std::size_t i) const { return starts_[i / 64] >> (i % 64) & 1; }
  std::uint64_t startWord(std::size_t k) const { return starts_[k]; }

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
  // 64 bits of the pair mask starting at bit i.
  std::uint64_t from(std::size_t i) const {
    const std::size_t word = i / 64;
    const unsigned shift = i % 64;
    if (shift == 0) return pairs_[word];
    return pairs_[word] >> shift | pairs_[word + 1] << (64 - shift);
  }

  std::uint64_t local_[2 * kLocalMaskWords];
  std::vector<std::uint64_t> heap_;
  std::uint64_t* pairs_ = local_;
  std::uint64_t* starts_ = local_;
};

// One packet from any pixel x by the rules themselves; returns the pixel
// after it. For what the start mask cannot tell: pixels left over after a
// packet was cut at 127.
std::size_t EncodeOnePacket(const std::uint8_t* p, std::size_t width, const RowMasks& masks, std::size_t x,
                            std::uint8_t*& o) {
  const std::size_t end = std::min(width, x + kShpMaxPacketPixels);
  if (x == width - 1) {
    *o++ = 3;
    *o++ = p[x];
    return width;
  }
  if (masks.pair(x)) {
    const std::size_t n = std::min(masks.onesFrom(x, end) + 1, end - x);
    *o++ = static_cast<std::uint8_t>(2 * n);
    *o++ = p[x];
    return x + n;
  }
  // A literal stops in front of two equal pixels; one reaching the last
  // pixel takes it, as the mask has no pair there.
  const std::size_t n = std::min(masks.nextPair(x + 1, end), end) - x;
  *o++ = static_cast<std::uint8_t>(2 * n + 1);
  std::memcpy(o, p + x, n);
  o += n;
  return x + n;
}

// Literal pixels x .. x + n - 1 of a row of width pixels, in packets of at
// most 127. Where the row and the output leave room, each packet is copied
// 16 bytes a step (up to 15 more than it needs, overwritten later) instead
// of by a call.
void PutLiteral(const std::uint8_t* p, std::size_t width, std::size_t x, std::size_t n, std::uint8_t*& o,
                const std::uint8_t* outEnd) {
  while (n > 0) {
    const std::size_t part = std::min(n, kShpMaxPacketPixels);
    const std::size_t wide = (part + 15) / 16 * 16;
    *o++ = static_cast<std::uint8_t>(2 * part + 1);
    if (x + wide <= width && outEnd - o >= static_cast<std::ptrdiff_t>(wide)) {
      for (std::size_t at = 0; at < wide; at += 16) std::memcpy(o + at, p + x + at, 16);
    } else {
      std::memcpy(o, p + x, part);
    }
    o += part;
    x += part;
    n -= part;
  }
}

// A run of n >= 2 pixels of value v in packets of at most 127; a single
// pixel left over is not a run, so it is left to the caller (returned).
std::size_t PutRun(std::uint8_t v, std::size_t n, std::uint8_t*& o) {
  while (n >= 2) {
    const std::size_t part = std::min(n, kShpMaxPacketPixels);
    *o++ = static_cast<std::uint8_t>(2 * part);
    *o++ = v;
    n -= part;
  }
  return n;
}

// A short packet, a run of at most 127 pixels or a literal of at most 16,
// is written with one 16-byte copy whatever its length; the caller makes
// sure 16 pixels can be read from x and 17 bytes written. Runs and literals
// mix at random in a picture, so the kind of packet is chosen by arithmetic
// rather than by a branch. False for a longer packet, leaving o alone.
constexpr std::size_t kWide = 16;

inline bool PutShortPacket(const std::uint8_t* p, std::size_t x, std::size_t n, std::uint8_t*& o) {
  const std::size_t literal = std::size_t{p[x] == p[x + 1]} - 1;  // all ones for a literal
  const std::size_t extra = (n - 1) & literal;                     // literal bytes after the first
  if ((n | extra << 3) > kShpMaxPacketPixels) return false;
  o[0] = static_cast<std::uint8_t>(2 * n + (literal & 1));
  std::memcpy(o + 1, p + x, kWide);  // a run needs only its first byte
  o += 2 + extra;
  return true;
}

// Enough output room for every short packet that ends within one word of
// starts: one carried in from earlier words (at most 17 bytes), at most
// 4 bytes for every 3 of the word's 64 pixels, and the last wide copy.
constexpr std::ptrdiff_t kWordRoom = 17 + (4 * 64 + 2) / 3 + kWide + 16;

}  // namespace

std::size_t EncodeShpRow(std::span<const std::uint8_t> row, std::uint8_t* out) {
  const std::uint8_t* p = row.data();
  const std::size_t width = row.size();
  std::uint8_t* o = out;
  if (width == 0) {
    *o++ = kShpEndOfRow;
    return 1;
  }
  const RowMasks masks(p, width);
  const std::uint8_t* const outEnd = out + ShpRowBound(width);
  const std::size_t wideEnd = width > kWide ? width - kWide : 0;  // last start a wide copy may read from
  std::size_t x = 0;
  std::size_t base = 0;  // pixel of bit 0 of bits
  std::uint64_t bits = masks.startWord(0) & ~std::uint64_t{1};
  while (x < width) {
    // The start bit at width ends every scan.
    while (bits == 0) {
      base += 64;
      bits = masks.startWord(base / 64);
    }
    std::size_t next = base + static_cast<unsigned>(__builtin_ctzll(bits));
    bits &= bits - 1;
    if (base + 64 <= wideEnd + 1 && outEnd - o >= kWordRoom) [[likely]] {
      // The rest of the word without a check per packet.
      while (PutShortPacket(p, x, next - x, o)) {
        x = next;
        if (bits == 0) break;
        next = base + static_cast<unsigned>(__builtin_ctzll(bits));
        bits &= bits - 1;
      }
      if (x == next) continue;
    } else if (next <= wideEnd && outEnd - o >= static_cast<std::ptrdiff_t>(kWide + 1) &&
               PutShortPacket(p, x, next - x, o)) {
      x = next;
      continue;
    }
    const std::size_t n = next - x;
    if (!masks.pair(x)) {
      PutLiteral(p, width, x, n, o, outEnd);
      x = next;
      continue;
    }
    if (PutRun(p[x], n, o) == 0) {
      x = next;
      continue;
    }
    // The run's last pixel opens a literal that reaches beyond this start.
    x = next - 1;
    do x = EncodeOnePacket(p, width, masks, x, o);
    while (x < width && !masks.start(x));
    base = x / 64 * 64;
    bits = x < width ? masks.startWord(x / 64) & (~std::uint64_t{1} << (x % 64)) : 0;
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
