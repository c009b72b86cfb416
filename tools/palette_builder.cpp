#include "tools/palette_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <set>
#include <unordered_map>

namespace kxc2::pictures {
namespace {

constexpr int kPaletteSize = 256;

struct Sample {
  QRgb colour;
  long long count;
};

int Channel(QRgb c, int channel) {
  return channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
}

struct Box {
  std::vector<Sample> samples;

  long long weight() const {
    long long w = 0;
    for (const Sample& s : samples) w += s.count;
    return w;
  }
  // The channel with the widest spread and that spread.
  std::pair<int, int> widest() const {
    int best = 0, bestRange = -1;
    for (int channel = 0; channel < 3; ++channel) {
      int lo = 255, hi = 0;
      for (const Sample& s : samples) {
        lo = std::min(lo, Channel(s.colour, channel));
        hi = std::max(hi, Channel(s.colour, channel));
      }
      if (hi - lo > bestRange) {
        best = channel;
        bestRange = hi - lo;
      }
    }
    return {best, bestRange};
  }
  QRgb mean() const {
    long long r = 0, g = 0, b = 0, w = 0;
    for (const Sample& s : samples) {
      r += qRed(s.colour) * s.count;
      g += qGreen(s.colour) * s.count;
      b += qBlue(s.colour) * s.count;
      w += s.count;
    }
    return qRgb(static_cast<int>((r + w / 2) / w), static_cast<int>((g + w / 2) / w),
                static_cast<int>((b + w / 2) / w));
  }
};

// Splits at the weighted median of the widest channel.
std::pair<Box, Box> Split(Box box) {
  const int channel = box.widest().first;
  std::sort(box.samples.begin(), box.samples.end(), [channel](const Sample& a, const Sample& b) {
    const int ca = Channel(a.colour, channel), cb = Channel(b.colour, channel);
    return ca != cb ? ca < cb : a.colour < b.colour;
  });
  const long long half = box.weight() / 2;
  long long running = 0;
  size_t cut = 1;
  for (size_t i = 0; i + 1 < box.samples.size(); ++i) {
    running += box.samples[i].count;
    cut = i + 1;
    if (running >= half) break;
  }
  Box first{{box.samples.begin(), box.samples.begin() + static_cast<long>(cut)}};
  Box second{{box.samples.begin() + static_cast<long>(cut), box.samples.end()}};
  return {first, second};
}

std::vector<QRgb> MedianCut(std::vector<Sample> samples, int wanted) {
  std::vector<QRgb> result;
  if (samples.empty() || wanted <= 0) return result;
  std::vector<Box> boxes{Box{std::move(samples)}};
  while (static_cast<int>(boxes.size()) < wanted) {
    // Split the box whose colours are spread widest, weighted a little by use.
    int chosen = -1;
    double chosenScore = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].samples.size() < 2) continue;
      const double score = boxes[i].widest().second * (1.0 + std::log2(1.0 + boxes[i].weight()));
      if (chosen < 0 || score > chosenScore) {
        chosen = static_cast<int>(i);
        chosenScore = score;
      }
    }
    if (chosen < 0) break;
    auto [a, b] = Split(std::move(boxes[static_cast<size_t>(chosen)]));
    boxes[static_cast<size_t>(chosen)] = std::move(a);
    boxes.push_back(std::move(b));
  }
  for (const Box& box : boxes) result.push_back(box.mean());
  return result;
}

int SquaredDistance(QRgb a, QRgb b) {
  const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
  return dr * dr + dg * dg + db * db;
}

}  // namespace

QList<QRgb> BuildPalette(const std::vector<QImage>& drawings, const FixedEntries& fixed) {
  std::set<QRgb> fixedColours;
  for (const auto& [index, colour] : fixed) fixedColours.insert(qRgb(qRed(colour), qGreen(colour), qBlue(colour)));

  std::map<QRgb, long long> counts;
  for (const QImage& drawing : drawings) {
    const QImage rgb = drawing.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      for (int x = 0; x < rgb.width(); ++x) ++counts[row[x] | 0xFF000000u];
    }
  }
  std::vector<Sample> samples;
  for (const auto& [colour, count] : counts)
    if (!fixedColours.count(colour)) samples.push_back({colour, count});

  const int freeSlots = kPaletteSize - static_cast<int>(fixed.size());
  std::vector<QRgb> chosen;
  if (static_cast<int>(samples.size()) <= freeSlots) {
    for (const Sample& s : samples) chosen.push_back(s.colour);
  } else {
    chosen = MedianCut(std::move(samples), freeSlots);
  }

  QList<QRgb> palette(kPaletteSize, qRgb(0, 0, 0));
  std::vector<bool> taken(kPaletteSize, false);
  for (const auto& [index, colour] : fixed) {
    palette[index] = qRgb(qRed(colour), qGreen(colour), qBlue(colour));
    taken[static_cast<size_t>(index)] = true;
  }
  std::set<QRgb> used(fixedColours);
  size_t next = 0;
  for (int index = 0; index < kPaletteSize && next < chosen.size(); ++index) {
    if (taken[static_cast<size_t>(index)]) continue;
    while (next < chosen.size() && used.count(chosen[next])) ++next;
    if (next == chosen.size()) break;
    palette[index] = chosen[next];
    used.insert(chosen[next]);
    taken[static_cast<size_t>(index)] = true;
    ++next;
  }
  return palette;
}

QImage Quantise(const QImage& drawing, const QList<QRgb>& palette) {
  const QImage rgb = drawing.convertToFormat(QImage::Format_RGB32);
  QImage indexed(rgb.size(), QImage::Format_Indexed8);
  // Row padding goes into the file too: keep it zero, not whatever memory held.
  std::memset(indexed.bits(), 0, static_cast<size_t>(indexed.sizeInBytes()));
  indexed.setColorTable(palette);
  std::unordered_map<QRgb, uchar> nearest;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* out = indexed.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb colour = in[x] | 0xFF000000u;
      auto found = nearest.find(colour);
      if (found == nearest.end()) {
        int best = 0, bestDistance = -1;
        for (int i = 0; i < palette.size(); ++i) {
          const int d = SquaredDistance(palette[i], colour);
          if (bestDistance < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
          }
        }
        found = nearest.emplace(colour, static_cast<uchar>(best)).first;
      }
      out[x] = found->second;
    }
  }
  return indexed;
}

}  // namespace kxc2::pictures
