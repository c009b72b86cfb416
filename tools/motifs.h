#pragma once

#include <QColor>
#include <QPainter>
#include <cstdint>

namespace kxc2::pictures {

// The colours one set of pictures is drawn in.
struct Theme {
  QColor ground;
  QColor groundDot;      // invalid: no dots on the ground
  QColor groundDot2;
  QColor wall, roof, roofShade, church;
  QColor runway, runwayMark;
  QColor crown, crownLight, crownDark, trunk;
  bool bareTrees = false;
  QColor snow;
  QColor hedge, hedgeLight, field1, field2;
  QColor hill, hillFill;
  QColor rockLight, rockDark, peakSnow;
  QColor sand, sandDot;
  QColor swamp, swampWater, tuft;
  QColor water, waterSpeck;   // waterSpeck invalid: plain water
  QColor riverDot;
  QColor wire, obstacle, obstacleDark;
  QColor hull, deck, pier;
  QColor slope, slopeDark;
  QColor rough1, rough2, rough3;
  QColor outline;
};

// A small deterministic generator so that every run draws the same pictures.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed * 2654435761u + 12345u) {}
  int below(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
  }

 private:
  std::uint32_t state_;
};

// Draws terrain code on a 45 x 50 frame whose top-left is the painter's
// origin; the frame's centre (22, 25) is where river lines start. area is the
// part of the frame the picture may cover (the view's cells keep their black
// edge row and column).
void DrawTerrain(QPainter& painter, int code, const QRect& area, const Theme& theme, std::uint32_t seed);

}  // namespace kxc2::pictures
